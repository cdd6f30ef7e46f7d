// Helpers shared by the tests that drive the real window against the
// emulated printer.
#pragma once

#include "gui_harness.h"
#include "mainwindow.h"
#include "printer_fixture.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHostAddress>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TestMedium)

inline const QString kTitle = QStringLiteral("设置工具");
inline const QString kDone = QStringLiteral("处理成功");
inline const QString kOpenFirst = QStringLiteral("请先打开设备");
inline const QString kUsbError = QStringLiteral("USB通讯出错，请重试");
inline const QString kNetError = QStringLiteral("网络通讯出错，请重试");

// Exactly one box, with the tool's title and this text.
#define VERIFY_ONE_BOX(pw, expectedText)                                                        \
    do {                                                                                        \
        QVERIFY2((pw).boxes().count() == 1, qPrintable(describe((pw).boxes().boxes())));        \
        QCOMPARE((pw).boxes().last().title, kTitle);                                           \
        QCOMPARE((pw).boxes().last().text, QString(expectedText));                             \
    } while (false)

// A byte string literal with its embedded zeros (not its terminator).
template<size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

// Payload of a query reply, written as hex ("18 00").
inline QByteArray bytesOf(const QString &hexText)
{
    return QByteArray::fromHex(hexText.toLatin1());
}

// Frame bytes from hex text ("1B FF FE ...").
inline QByteArray frameBytes(const char *hexText)
{
    return QByteArray::fromHex(QByteArray(hexText).replace(' ', ""));
}

// Class-02 query frame for a code, as hex.
inline QString queryHex(quint8 code)
{
    return QStringLiteral("1B FF FE 02 %1 00 1B FE FF").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

// Class-01 set frame for a code and payload (hex without the length), as hex.
inline QString setHex(quint8 code, const QString &payloadHex)
{
    const QByteArray payload = bytesOf(payloadHex);
    QString text = QStringLiteral("1B FF FE 01 %1 %2")
                       .arg(code, 2, 16, QLatin1Char('0'))
                       .arg(payload.size(), 2, 16, QLatin1Char('0'))
                       .toUpper();
    if (!payload.isEmpty())
        text += QLatin1Char(' ') + hex(payload);
    return text + QStringLiteral(" 1B FE FF");
}

inline QString mediumName(TestMedium medium)
{
    return medium == TestMedium::Tcp ? QStringLiteral("tcp") : QStringLiteral("usb");
}

// Rows that alternate the medium, so both are exercised without doubling.
inline TestMedium alternateMedium(int row)
{
    return row % 2 ? TestMedium::Usb : TestMedium::Tcp;
}

inline std::unique_ptr<PrinterWindow> openedWindow(TestMedium medium, const QString &model = QStringLiteral("LP-200"))
{
    auto pw = std::make_unique<PrinterWindow>(medium, model);
    if (!pw->open())
        return nullptr;
    return pw;
}

// Cuts the printer off: "off" (network printer stopped), "silent" (takes
// frames, never answers), "unplug", "claim" (USB interface refused) or
// "short" (USB status read returns two of its four bytes).
inline void cutOff(PrinterWindow &pw, const QString &fault)
{
    if (fault == QLatin1String("off")) {
        pw.net()->stop();
    } else if (fault == QLatin1String("silent")) {
        emu::Faults silent;
        silent.silent = true;
        pw.printer().setFaults(silent);
    } else if (fault == QLatin1String("short")) {
        PrinterWindow::usb().setStatusReadLength(pw.usbId(), 2);
    } else if (fault == QLatin1String("unplug")) {
        PrinterWindow::usb().unplug(pw.usbId());
    } else {
        PrinterWindow::usb().setClaimRefused(pw.usbId(), true);
    }
}

// A loopback port on which nothing listens (bound once, then released).
inline quint16 closedTcpPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        qFatal("no free loopback port");
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

// What a widget shows: a line edit's text, a combo box's current text.
inline QString shown(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    qFatal("widget %s shows no value", qPrintable(w->objectName()));
    return {};
}

// Enabled state of several widgets as "name=1 name=0", for comparisons
// that say at once which widget differs.
inline QString enabledStates(const PrinterWindow &pw, const QStringList &names)
{
    QStringList parts;
    for (const QString &name : names)
        parts << QStringLiteral("%1=%2").arg(name).arg(
            pw.widget<QWidget>(name.toLatin1().constData())->isEnabled() ? 1 : 0);
    return parts.join(QLatin1Char(' '));
}

inline QString expectedStates(const QStringList &names, const QList<bool> &enabled)
{
    QStringList parts;
    for (int i = 0; i < names.size(); ++i)
        parts << QStringLiteral("%1=%2").arg(names.at(i)).arg(enabled.at(i) ? 1 : 0);
    return parts.join(QLatin1Char(' '));
}

// The seven page set buttons.
inline QStringList setButtons()
{
    return {QStringLiteral("pushButton_PrintSettingSet"), QStringLiteral("pushButton_DistanceSettingSet"),
            QStringLiteral("pushButton_WifiSettingSet"), QStringLiteral("pushButton_BleSettingSet"),
            QStringLiteral("pushButton_NetportSettingSet"), QStringLiteral("pushButton_ComSettingSet"),
            QStringLiteral("pushButton_StripperSettingSet")};
}

// Runs a check at the moment a message box appears, before anyone can
// dismiss it: the window's state "when the user saw the message".
class OnMessageBoxShown : public QObject
{
public:
    explicit OnMessageBoxShown(std::function<void(QMessageBox *)> onShown)
        : m_onShown(std::move(onShown))
    {
        qApp->installEventFilter(this);
    }
    ~OnMessageBoxShown() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched))
                m_onShown(box);
        }
        return false;
    }

private:
    std::function<void(QMessageBox *)> m_onShown;
};

// TCP frames reach the emulated printer's thread a little after the
// window's handler has returned (USB frames are logged before the
// transfer completes). Waits for n frames and returns them.
inline QStringList waitForFrameHex(PrinterWindow &pw, int n, int timeoutMs = 10000)
{
    pw.printer().waitForFrames(n, timeoutMs);
    return pw.frameHex();
}

// Nothing arrives at the printer; over TCP a frame could still be on its
// way, so give it a short while to show up.
inline bool nothingReachedPrinter(PrinterWindow &pw)
{
    if (pw.medium() == TestMedium::Tcp && pw.printer().waitForFrames(1, 150))
        return false;
    return pw.frames().isEmpty() && pw.printer().rawByteCount() == 0;
}
