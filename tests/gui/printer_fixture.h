// The real MainWindow next to an emulated printer, reached over TCP on
// 127.0.0.1, over USB through umockdev, or on an emulated serial port or
// Bluetooth link (umockdev tty devices the window's own port list finds). Tests click the window's buttons
// and check both what the printer received and what the user saw.
#pragma once

#include "gui_harness.h"
#include "tools/emulator/core/printer_model.h"
#include "ui/console_text.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <memory>

class MainWindow;
namespace emu { class NetPrinter; class UsbFace; class SerialPrinter; struct EmulatedPort; }

enum class TestMedium { Tcp, Usb, Serial, Bluetooth };

class PrinterWindow
{
public:
    // `model` is the printer's model name: it decides the model group
    // (dots per millimetre, extended print settings) when the printer is
    // opened. Over USB it is the product string, over TCP the identity's
    // model text.
    // A serial printer runs at `baud` (the window's connection group starts
    // at 115200).
    explicit PrinterWindow(TestMedium medium, const QString &model = QStringLiteral("LP-200"), int baud = 115200);
    ~PrinterWindow();

    // Refresh the device list and open the printer, as the user would;
    // true when "连接成功！" was shown. The boxes and the frame log are
    // cleared afterwards.
    bool open();

    MainWindow *window() const { return m_window; }
    // Closes and destroys the window now, as quitting the program does.
    void destroyWindow();
    DialogCatcher &boxes() { return *m_catcher; }
    emu::PrinterModel &printer() { return m_model; }
    TestMedium medium() const { return m_medium; }

    template<typename T = QWidget> T *widget(const char *name) const { return qobject_cast<T *>(findWidget(name)); }
    // Clicks a button and waits until the handler has returned (nested
    // dialogs included: the catcher answers them from their event loops).
    void click(const char *name) { widget<QAbstractButton>(name)->click(); }

    // Frames the printer received since the last clear, whole, in order, in
    // hex ("1B FF FE 02 00 00 1B FE FF").
    QStringList frames() const;
    void clearFrames() { m_model.clearLog(); }

    // The emulated USB side, shared by every PrinterWindow of the process
    // (created before libusb is first used).
    static emu::UsbFace &usb();
    // This printer's id on usb() (-1 over TCP), for unplugging it or
    // refusing its claims.
    int usbId() const { return m_usbId; }
    // This printer's network faces (null over USB), e.g. to switch it off.
    emu::NetPrinter *net() const { return m_net.get(); }
    // This printer's serial face and its port's device node (serial and
    // Bluetooth media).
    emu::SerialPrinter *serial() const { return m_serial.get(); }
    QString serialNode() const;
    // The device list's key of this printer: {USB002}, {ttyUSB3}, ...
    QString listKey() const;

private:
    QWidget *findWidget(const char *name) const;

    TestMedium m_medium;
    emu::PrinterModel m_model;
    std::unique_ptr<emu::NetPrinter> m_net;
    std::unique_ptr<emu::SerialPrinter> m_serial;
    std::unique_ptr<emu::EmulatedPort> m_port;
    int m_usbId = -1;
    int m_usbPort = 0;
    MainWindow *m_window = nullptr;
    DialogCatcher *m_catcher = nullptr;
};

// Base of every GUI test class: QSettings in a private folder for the whole
// program, and the emulated USB bus set up before libusb is first used.
class GuiTest : public QObject
{
    Q_OBJECT
public:
    GuiTest();

private slots:
    // QTest calls this before any other slot, and after it has set its own
    // environment variables. The emulated bus is made here, not in the
    // constructor: umockdev's worker thread reads the environment from the
    // moment a device is added, and a variable set beside that read can
    // crash it.
    void initTestCase_data();

private:
    QTemporaryDir m_settings;
};

// Frames as the debug console shows them: "1B FF FE 02".
inline QString hex(const QByteArray &bytes) { return console::hexText(bytes); }
// Clicks a check box or radio button on its indicator.
void clickBox(QAbstractButton *box);
