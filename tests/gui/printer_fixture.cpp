#include "printer_fixture.h"

#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/serial/serial_face.h"
#include "tools/emulator/serial/serial_umockdev.h"
#include "tools/emulator/usb/usb_face.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <vector>

GuiTest::GuiTest()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
}

void GuiTest::initTestCase_data()
{
    PrinterWindow::usb();
}

void clickBox(QAbstractButton *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// QSerialPort locks a port by its name in the machine's lock folder, so
// test programs running at the same time (two builds, two checkouts) must
// not give their emulated ports the same names. Each number is reserved by
// a lock file of our own for as long as this program runs (a program that
// died leaves a stale lock, which the next one takes over); names stay
// under 256, the highest RFCOMM port the system lists.
static int reserveSerialPortNumber()
{
    static std::vector<std::unique_ptr<QLockFile>> held;
    for (int n = 0; n < 256; ++n) {
        auto lock = std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("lps-emulated-tty-%1.lock").arg(n)));
        lock->setStaleLockTime(0);   // held all along: stale only when its program is gone
        if (lock->tryLock(0)) {
            held.push_back(std::move(lock));
            return n;
        }
    }
    qFatal("no emulated serial port number left");
}

emu::UsbFace &PrinterWindow::usb()
{
    static emu::UsbFace face;
    // The window's port lists see the testbed's ports only, whatever the
    // machine has.
    static const bool terminal = (emu::addSystemTerminal(face.testbed()), true);
    Q_UNUSED(terminal);
    return face;
}

PrinterWindow::PrinterWindow(TestMedium medium, const QString &model, int baud)
    : m_medium(medium)
{
    static int nextUsbPort = 2;
    m_model.setIdentity("VID:E51D", model, QStringLiteral("MFG:Label;CMD:TSPL,ZPL;MDL:%1;CLS:PRINTER;").arg(model),
                        "PID:0618", "V1.0");
    if (medium == TestMedium::Tcp) {
        m_net = std::make_unique<emu::NetPrinter>(&m_model);
        if (!m_net->start({.tcpPort = 0}))
            qFatal("emulated printer did not start: %s", qPrintable(m_net->errorString()));
    } else if (medium == TestMedium::Serial || medium == TestMedium::Bluetooth) {
        const bool bluetooth = medium == TestMedium::Bluetooth;
        m_port = std::make_unique<emu::EmulatedPort>(emu::addSerialPort(usb().testbed(), reserveSerialPortNumber(), bluetooth));
        m_serial = std::make_unique<emu::SerialPrinter>(&m_model);
        if (m_port->masterFd < 0 || !m_serial->start({.baud = baud, .anySettings = bluetooth}, m_port->masterFd))
            qFatal("emulated serial printer did not start");
    } else {
        m_usbPort = nextUsbPort++;
        m_usbId = usb().addPrinter(&m_model, {.product = model, .port = m_usbPort});
        if (m_usbId < 0)
            qFatal("emulated USB printer could not be plugged in");
    }
    ret_mode = MediumUsb;
    m_window = new MainWindow;
    // Emulated printers restart after a firmware only when a test says so.
    m_window->setRestartWait(0);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window))
        qFatal("window not exposed");
    if (!QTest::qWaitFor([this] { return m_window->finishedAfterShowing(); }, 10000))
        qFatal("window did not finish starting");
    m_catcher = new DialogCatcher(m_window);
}

PrinterWindow::~PrinterWindow()
{
    delete m_window;
    if (m_usbId >= 0)
        usb().unplug(m_usbId);
    if (m_serial) {
        m_serial->stop();
        emu::removeSerialPort(usb().testbed(), *m_port);
    }
    if (m_net)
        m_net->stop();
}

void PrinterWindow::destroyWindow()
{
    delete m_window;
    m_window = nullptr;
    m_catcher = nullptr;
}

QWidget *PrinterWindow::findWidget(const char *name) const
{
    QWidget *w = m_window->findChild<QWidget *>(QLatin1String(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

QString PrinterWindow::serialNode() const
{
    return m_port ? m_port->devNode : QString();
}

QString PrinterWindow::listKey() const
{
    return m_port ? '{' + m_port->name + '}' : QStringLiteral("{USB%1}").arg(m_usbPort, 3, 10, QLatin1Char('0'));
}

bool PrinterWindow::open()
{
    if (m_medium == TestMedium::Serial) {
        clickBox(widget<QCheckBox>("checkBox_Serialport"));
    } else if (m_medium == TestMedium::Bluetooth) {
        clickBox(widget<QCheckBox>("checkBox_BLE"));
    } else if (m_medium == TestMedium::Tcp) {
        clickBox(widget<QCheckBox>("checkBox_WIFI"));
        widget<QLineEdit>("lineEdit_ConnectAddr")->setText(QStringLiteral("127.0.0.1"));
        widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QString::number(m_net->tcpPort()));
    } else {
        clickBox(widget<QCheckBox>("checkBox_NET"));
        clickBox(widget<QCheckBox>("checkBox_USB"));
    }
    click("pushButton_getList");
    // Several USB printers or ports may be plugged in: pick ours by its key.
    auto *list = widget<QComboBox>("comboBox_ScanResult");
    if (m_medium != TestMedium::Tcp)
        list->setCurrentIndex(list->findText(listKey(), Qt::MatchContains));
    if (list->currentIndex() < 0)
        return false;
    m_catcher->clear();
    click("pushButton_open");
    const bool ok = m_catcher->count() == 1 && m_catcher->last().text == QStringLiteral("连接成功！");
    m_catcher->clear();
    m_model.clearLog();
    return ok;
}

QStringList PrinterWindow::frames() const
{
    QStringList result;
    for (const emu::LoggedFrame &f : m_model.frames())
        result << hex(f.bytes);
    return result;
}
