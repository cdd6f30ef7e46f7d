// Helpers shared by the tests that drive the real window against the
// emulated printer, and the table of clicks most page tests are written in
// (see ClickTable).
#pragma once

#include "gui_harness.h"
#include "mainwindow.h"
#include "printer_fixture.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "transport/net_transport.h"
#include "transport/device_records.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QAbstractButton>
#include <QAtomicInt>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <array>

Q_DECLARE_METATYPE(TestMedium)

inline const QString kTitle = QStringLiteral("设置工具");
inline const QString kDone = QStringLiteral("处理成功");
inline const QString kOpenFirst = QStringLiteral("请先打开设备");
inline const QString kUsbError = QStringLiteral("USB通讯出错，请重试");
inline const QString kNetError = QStringLiteral("网络通讯出错，请重试");
// The USB failure box with the advice line under it: another program or
// driver holds the interface, or this user may not open the device.
inline const QString kUsbBusy = kUsbError + QStringLiteral("\n打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。");
inline const QString kUsbDenied = kUsbError + QStringLiteral("\n没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。");

// Frames written short, one per word: "q13" the query of a code, "s19:1800"
// a set frame and its payload, "f06" a function code; a word starting with
// 1B is a whole frame in hex.
inline QStringList frameList(const QString &text)
{
    QStringList frames;
    for (const QString &word : text.split(' ').filter(QRegularExpression("."))) {   // words, not the empty text
        const QByteArray payload = QByteArray::fromHex(word.section(':', 1).toLatin1());
        const char cls = word.startsWith('s') ? 1 : word.startsWith('q') ? 2 : 0;
        const QByteArray frame = QByteArray("\x1B\xFF\xFE") + cls + char(word.mid(1, 2).toInt(nullptr, 16))
                                 + char(payload.size()) + payload + "\x1B\xFE\xFF";
        frames << hex(word.startsWith("1B") ? QByteArray::fromHex(word.toLatin1()) : frame);
    }
    return frames;
}

// One step of a row (see ClickTable): a widget name is clicked, other
// words put faults in or act as the user would. "off": the network printer
// is switched off; "silent": it takes frames and never answers; "slow": it
// answers after 1.5 s; "wrong": replies carry the next code; "drop:N": the
// network printer hangs up after N bytes; "unplug"; "claim" and "free":
// another program holds the USB interface, or no longer; "short": the
// status word comes back with two of its four bytes (USB read, network reply); "stall:N": the Nth bulk OUT
// transfer from now stalls; "bad:0xCC": USB replies for code CC lose their
// lead-in; "closed": the window closes the printer; "reopen": closes and
// opens it again; "cancel": the next dialog is cancelled; "nomedium": the
// window's medium is one without transport (until the row's steps are
// done); "during:NAME": NAME is clicked once the network printer has
// received the next bytes, inside the wait of the click that sent them;
// "took:N": the steps up to here took at least N ms; "pause:MS": after
// 100 kB more the printer stops reading for MS (once, on either medium).
inline void step(PrinterWindow &pw, const QString &word)
{
    if (word.contains('_') && !word.contains(':'))
        return pw.click(qPrintable(word));
    emu::Faults faults = pw.printer().faults();
    emu::UsbFace &usb = PrinterWindow::usb();
    const QString what = word.section(':', 0, 0), name = word.section(':', 1);
    const int n = name.toInt(nullptr, 0);
    if (what == "off") pw.net()->stop();
    if (what == "silent") faults.silent = true;
    if (what == "slow") faults.delayMs = 1500;
    if (what == "wrong") faults.wrongCode = true;
    if (what == "drop") faults.dropAfterBytes = n;
    if (what == "unplug") usb.unplug(pw.usbId());
    if (what == "claim" || what == "free") usb.setClaimRefused(pw.usbId(), what == "claim");
    if (what == "short") {
        usb.setStatusReadLength(pw.usbId(), 2);
        faults.statusWordBytes = 2;
    }
    if (what == "stall") usb.stallOutTransfer(pw.usbId(), n);
    if (what == "pause") {
        faults.pauseAfterBytes = 100000;
        faults.pauseMs = n;
        usb.pauseOutAfter(pw.usbId(), 100000, n);
    }
    if (what == "closed" || what == "reopen") pw.click("pushButton_close");
    if (what == "reopen") pw.click("pushButton_open");
    if (what == "cancel") pw.boxes().dialogsToReject = 1;
    if (what == "nomedium") ret_mode = 0;
    if (what == "during")
        QObject::connect(pw.net(), &emu::NetPrinter::tcpBytesReceived, pw.window(), [&pw, name] {
            pw.click(qPrintable(name));
        }, Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    if (what == "bad")
        usb.setReplyFilter(pw.usbId(), [n](QByteArray reply) {
            if (reply.size() > 4 && quint8(reply.at(4)) == n)
                reply[0] = 0x00;
            return reply;
        });
    pw.printer().setFaults(faults);
}

// Counts the diagnostic lines that hold one of `secrets` (passwords, PINs),
// as text or as frame bytes in hex, from the call on; every line still goes
// on to the handler installed before. A test checks secretLeaks() at its end.
inline QStringList watchedSecrets;
inline QAtomicInt secretLeaks;
inline QtMessageHandler secretsForward = nullptr;
inline void watchForSecrets(const QStringList &secrets)
{
    watchedSecrets = secrets;
    secretsForward = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        const QString flat = QString(text).remove(' ');
        for (const QString &secret : std::as_const(watchedSecrets)) {
            if (flat.contains(secret) || flat.contains(QString::fromLatin1(secret.toUtf8().toHex()), Qt::CaseInsensitive))
                secretLeaks.ref();
        }
        secretsForward(type, context, text);
    });
}

// Runs the event loop as the program's own does (sleeping in the event
// dispatcher, not between passes as QTest's waits do, which would slow the
// hand-over of a transfer's chunks) until `done` holds or the time-out.
inline bool runEvents(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(10);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Answers the firmware download's confirmation: its backup ticked or not,
// the printer's log cleared (what it received counts from here on), `then`
// run. The box's `seen` is the offer as it came: "先备份设置1" (ticked).
inline void atFirmwareConfirmation(PrinterWindow &pw, bool backup, std::function<void()> then = {})
{
    pw.boxes().onShown = [&pw, backup, then] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->text().startsWith("将固件下载"))
            return QString();
        QCheckBox *offer = box->checkBox();
        const QString offered = offer ? offer->text() + QString::number(offer->isChecked()) : QString();
        if (offer)
            offer->setChecked(backup);
        pw.clearFrames();
        if (then)
            then();
        return offered;
    };
}

// A loopback port on which nothing listens (bound once, then released).
inline quint16 closedTcpPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        qFatal("no free loopback port");
    return server.serverPort();
}

// The property a widget's value is in: a line edit's or text browser's
// text, a combo box's current text (or index), a check box's state (1 or
// 0), a progress bar's value.
inline const char *valueProperty(const QWidget *w, bool index = false)
{
    return w->inherits("QComboBox") ? (index ? "currentIndex" : "currentText")
           : w->inherits("QTextEdit") ? "plainText" : w->inherits("QAbstractButton") ? "checked"
           : w->inherits("QProgressBar") ? "value" : "text";
}

// Printer and window state, "name=value": "status" is the printer's status
// word and a two-digit name a setting code (both in hex); otherwise a
// widget's value (valueProperty(), a combo box's index when written as a
// number). "+name" and "-name" enable and disable a widget.
inline void apply(PrinterWindow &pw, const QStringList &values)
{
    for (const QString &pair : values) {
        const QString name = pair.section('=', 0, 0), value = pair.section('=', 1);
        const bool state = name.startsWith('+') || name.startsWith('-');
        QWidget *w = name.size() > 6 ? pw.widget(qPrintable(state ? name.mid(1) : name)) : nullptr;
        bool isNumber = false;
        value.toInt(&isNumber);
        if (state)
            w->setEnabled(name.startsWith('+'));
        else if (name == "status")
            pw.printer().setStatusWord(value.toUInt(nullptr, 16));
        else if (!w)
            pw.printer().setSetting(quint8(name.toInt(nullptr, 16)), QByteArray::fromHex(value.toLatin1()));
        else
            w->setProperty(valueProperty(w, isNumber), value);
    }
}

// "name=value" as a widget shows it (valueProperty()), "+name" an enabled
// and "-name" a disabled widget, "remembered:KEY=value" what the window
// keeps for its next run; what differs, as text (empty: nothing).
inline QString mismatches(PrinterWindow &pw, const QStringList &expected)
{
    QStringList wrong;
    for (const QString &item : expected) {
        const bool state = item.startsWith('+') || item.startsWith('-');
        const QString name = state ? item.mid(1) : item.section('=', 0, 0);
        const QWidget *w = name.startsWith("remembered:") ? nullptr : pw.widget(qPrintable(name));
        const QString actual = !w      ? name + '=' + QSettings("Company", "App").value(name.mid(11)).toString()
                               : state ? (w->isEnabled() ? "+" : "-") + name
                                       : name + '=' + w->property(valueProperty(w)).toString();
        if (actual != item)
            wrong << QStringLiteral("%1 (expected %2)").arg(actual, item);
    }
    return wrong.join("; ");
}

// Enabled state of several widgets as "name=1 name=0", for comparisons
// that say at once which widget differs.
inline QString expectedStates(const QStringList &names, const QList<bool> &enabled)
{
    QStringList parts;
    for (int i = 0; i < names.size(); ++i)
        parts << QStringLiteral("%1=%2").arg(names.at(i)).arg(enabled.at(i) ? 1 : 0);
    return parts.join(' ');
}

inline QString enabledStates(const PrinterWindow &pw, const QStringList &names)
{
    QList<bool> enabled;
    for (const QString &name : names)
        enabled << pw.widget(qPrintable(name))->isEnabled();
    return expectedStates(names, enabled);
}

// The seven page set buttons.
inline QStringList setButtons()
{
    return {"pushButton_PrintSettingSet", "pushButton_DistanceSettingSet", "pushButton_WifiSettingSet",
            "pushButton_BleSettingSet", "pushButton_NetportSettingSet", "pushButton_ComSettingSet",
            "pushButton_StripperSettingSet"};
}

// TCP frames reach the emulated printer's thread a little after the
// window's handler has returned (USB frames are logged before the transfer
// completes): waits for n frames, and a short while for any beyond them.
inline QStringList framesSent(PrinterWindow &pw, int n)
{
    pw.printer().waitForFrames(n, 10000);
    pw.printer().waitForFrames(n + 1, pw.medium() == TestMedium::Tcp ? 150 : 0);
    return pw.frames();
}

// The boxes shown: message texts (with the advice line under them, if
// any), other dialogs by their class. A box
// without the tool's title, a message that is not information (or, for the
// closed-device message of the information button, critical), or a window
// not as expected while the box was up (ShownBox::seen) adds an entry.
inline QStringList shownBoxes(PrinterWindow &pw)
{
    QStringList result;
    for (const ShownBox &b : pw.boxes().boxes()) {
        const bool message = b.className == "QMessageBox";
        const auto icon = b.text == QStringLiteral("设备未打开!") ? QMessageBox::Critical : QMessageBox::Information;
        result << (!message ? b.className : b.advice.isEmpty() ? b.text : b.text + '\n' + b.advice);
        if (b.title != kTitle || (message && b.icon != icon))
            result << QStringLiteral("(title %1, icon %2)").arg(b.title).arg(b.icon);
        if (!b.seen.isEmpty())
            result << b.seen;
    }
    return result;
}

// A table of steps on an opened printer. Each row: the medium and the
// printer's model; what is stored and typed first ("before", see apply());
// the steps (step()), where a last step (timing checks aside) on a disabled
// Set button is preceded by a read of its page, after which "before" is
// applied again; then what reached the printer (frameList()), the boxes
// shown (shownBoxes()) and the window afterwards ("after", see
// mismatches(); never left locked, whatever the row says), items written
// "@..." while the first box was up.
struct ClickRow
{
    TestMedium medium;
    QString model, steps, frames;
    QStringList before, boxes, after;
};
Q_DECLARE_METATYPE(ClickRow)

inline const char *mediumName(TestMedium medium)
{
    return std::array{"tcp", "usb", "serial", "bluetooth"}.at(size_t(medium));
}

// One row, named with its medium.
inline void clickRow(const QString &name, TestMedium medium, const QString &model, const QStringList &before,
                     const QString &steps, const QString &frames, const QStringList &boxes,
                     const QStringList &after = {})
{
    QTest::newRow(qPrintable(name + '/' + mediumName(medium)))
        << ClickRow{medium, model, steps, frames, before, boxes, after};
}

// A row for a value that Set refuses before anything is sent: the box names
// the field and its range, and the field keeps the text to be corrected.
inline void refusalRow(TestMedium medium, const QString &model, const QString &button, const QString &field,
                       const QString &value, const QString &label, const QString &range)
{
    const QString typed = field + '=' + value;
    clickRow(label + ' ' + value, medium, model, {typed}, button, "", {label + "的取值范围为" + range + "，请重新输入"},
             {typed});
}

constexpr TestMedium tcp = TestMedium::Tcp, usb = TestMedium::Usb, line = TestMedium::Serial,
                     ble = TestMedium::Bluetooth;

// The four fields of the distance page.
inline QStringList distances(const QString &o2ph, const QString &s2ph, const QString &b2ph, const QString &ph2t)
{
    return {"lineEdit_DistanceO2PH=" + o2ph, "lineEdit_DistanceS2PH=" + s2ph, "lineEdit_DistanceB2PH=" + b2ph,
            "lineEdit_DistancePH2T=" + ph2t};
}

inline void runClickRow()
{
    QFETCH(ClickRow, row);
    const auto &[medium, model, steps, frames, before, boxes, after] = row;
    PrinterWindow pw(medium, model);
    QVERIFY(pw.open());
    apply(pw, before);
    const QStringList words = steps.split(' ');
    const QString lastClick = words.filter(QRegularExpression("^(?!took:)")).last();
    if (lastClick.endsWith("Set") && !pw.widget(qPrintable(lastClick))->isEnabled()) {
        pw.click(qPrintable(lastClick.chopped(3) + "Read"));
        QCOMPARE(pw.boxes().last().text, kDone);
        pw.boxes().clear();
        pw.clearFrames();
        apply(pw, before);
    }
    QStringList atFirstBox = after.filter(QRegularExpression("^@")).replaceInStrings(QRegularExpression("^@"), "");
    pw.boxes().onShown = [&] { return mismatches(pw, std::exchange(atFirstBox, {})); };
    const auto usbStats = [&pw] {
        const emu::UsbStats stats = pw.usbId() < 0 ? emu::UsbStats() : PrinterWindow::usb().stats(pw.usbId());
        return QList<qint64>{stats.opens, stats.controlReads, stats.outBytes};
    };
    const QList<qint64> usbBefore = usbStats();
    // Connections the window starts during the steps, counted on its own
    // socket: the emulated printer accepts in a thread of its own, so its
    // count may still be catching up with a connection made by the open.
    const auto connecting = std::make_shared<int>(0);
    QMetaObject::Connection counter;
    const _PRINTER_HANDLE *handle = DeviceIoContrl_Net::getHandle();
    if (ret_mode == MediumNet && handle && handle->pSocket)
        counter = QObject::connect(handle->pSocket, &QAbstractSocket::stateChanged, pw.window(),
                         [connecting](QAbstractSocket::SocketState state) {
                             *connecting += state == QAbstractSocket::ConnectingState;
                         });
    const int mode = ret_mode;
    QElapsedTimer clock;
    clock.start();
    for (const QString &word : words) {
        step(pw, word);
        if (word.startsWith("took:"))
            QVERIFY2(clock.elapsed() >= word.mid(5).toInt(), qPrintable(QString::number(clock.elapsed())));
    }
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QObject::disconnect(counter);
    ret_mode = mode;

    QCOMPARE(framesSent(pw, frameList(frames).size()), frameList(frames));
    QCOMPARE(pw.printer().rawByteCount(), 0);
    QCOMPARE(shownBoxes(pw), boxes);
    const QString wrong = mismatches(pw, after.filter(QRegularExpression("^[^@]")) << "+tabWidget_2"
                                             << "+pushButton_getPrinterInfo");
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    // Nothing sent: not even a connection; without an open printer or a
    // transport, not even a USB open or status read.
    if (frames.isEmpty() && pw.net() && pw.net()->isRunning() && !steps.contains("reopen"))
        QCOMPARE(*connecting, 0);
    if (steps.startsWith("closed") || steps.startsWith("nomedium"))
        QCOMPARE(usbStats(), usbBefore);
}

// A test program that is one table of steps: `rows` adds the rows
// (clickRow()), each is run by runClickRow(); none of them may log one of
// `secrets` (see watchForSecrets()). CLICK_TABLE_MAIN(rows[, secrets]) is
// its main(), as QTEST_MAIN would be.
class ClickTable : public GuiTest
{
    Q_OBJECT
public:
    explicit ClickTable(void (*rows)(), const QStringList &secrets = {}) : m_rows(rows), m_secrets(secrets) {}

private slots:
    void initTestCase() { watchForSecrets(m_secrets); }
    void cleanupTestCase() { QCOMPARE(secretLeaks.loadRelaxed(), 0); }
    void clicks_data()
    {
        QTest::addColumn<ClickRow>("row");
        m_rows();
    }
    void clicks() { runClickRow(); }

private:
    void (*m_rows)();
    QStringList m_secrets;
};

#define CLICK_TABLE_MAIN(...)                                                                   \
    int main(int argc, char *argv[])                                                            \
    {                                                                                           \
        QApplication app(argc, argv);                                                           \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                \
        ClickTable table(__VA_ARGS__);                                                          \
        return QTest::qExec(&table, argc, argv);                                                \
    }
