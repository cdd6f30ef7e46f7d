// Every operation against every way the printer can fail it, over TCP, over
// emulated USB and on an emulated serial line (the faults a line can have): a page read, a page set, a function button, a firmware
// download and a console send in the window, and the command line's get and
// profile apply. Whatever the printer does, the user is told what the tool
// says for that failure (the box, or the command line's exit status and
// error line), the controls come back, nothing waits longer than the
// operation's time-out plus a second, no decrypted firmware stays behind,
// and each setting the operation touches is as before or wholly the new
// value.
#include "cli/cli.h"
#include "page_test_support.h"


#include <QDir>
#include <QTextBrowser>
#include <QTextEdit>

namespace {

// Where a dropped link or a pulled cable cuts the operation: inside its
// first frame, or, for the sets of texts, inside the second text frame
// once the first went whole (firmware: inside its second 10 KiB chunk).
const QMap<QString, int> kCutAt = {{"read", 4},     {"set", 20},     {"function", 4}, {"firmware", 15000},
                                   {"console", 4},  {"cli get", 13}, {"cli apply", 25}};

// The texts the sets send, by setting code: classic and BLE names, PIN.
const QMap<int, QByteArray> kWanted = {{0x2B, QByteArray("Dock-7", 7)}, {0x2C, QByteArray("Dock-7-BLE", 11)},
                                       {0x2E, QByteArray("4321", 5)}};

// One reply lasts 3 s at most, on either medium.
constexpr int kReplyTimeoutMs = 3000;

// Message boxes as "title|text", separated by " / ".
QString messages(PrinterWindow &pw)
{
    QStringList seen;
    for (const ShownBox &b : pw.boxes().boxes()) {
        if (b.className == "QMessageBox")
            seen << b.title + '|' + b.text + (b.advice.isEmpty() ? "" : '\n' + b.advice);
    }
    return seen.join(" / ");
}

// What the user sees at the end of one operation.
QString operate(PrinterWindow &pw, const QString &op, const QString &printer, const QString &dir)
{
    if (op.startsWith("cli")) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const QStringList args = op == "cli get" ? QStringList{"get", printer, "print.density"}
                                                 : QStringList{"profile", "apply", printer, dir + "/ble.json"};
        const int code = cli::run(args, {outStream, errStream, false}, QString());
        outStream.flush();
        errStream.flush();
        const QString lines = (out + err).trimmed().replace(printer, "PRINTER").replace('\n', " | ");
        return QStringLiteral("exit %1 | %2").arg(code).arg(lines);
    }
    if (op == "read") {
        apply(pw, {"lineEdit_PaperTime=42"});
        pw.click("pushButton_StripperSettingRead");
        return messages(pw) + " [" + pw.widget<QLineEdit>("lineEdit_PaperTime")->text() + ']';
    }
    if (op == "set") {
        apply(pw, {"+pushButton_BleSettingSet", "lineEdit_SppName=Dock-7", "lineEdit_SppBLE=Dock-7-BLE",
                   "lineEdit_SppPin=4321"});
        pw.click("pushButton_BleSettingSet");
    } else if (op == "function") {
        pw.click("pushButton_SelfCheck");
    } else if (op == "console") {
        pw.widget<QAbstractButton>("radioButton_hexSend")->setChecked(true);
        pw.widget<QTextEdit>("textEdit_Send")->setPlainText("1B FF FE 02 58 00 1B FE FF");
        pw.click("pushButton_Send");
        const bool shown = pw.widget<QTextBrowser>("textBrowser_Debug")->toPlainText().contains("RECV<-");
        return messages(pw) + (shown ? " [reply shown]" : "");
    } else if (op == "firmware") {
        // The confirmation before it (and the backup it offers) is the
        // download tests' concern: here the box after it counts.
        atFirmwareConfirmation(pw, false);
        const auto last = [&pw] {
            const QString shown = messages(pw).section(" / ", -1);
            return shown.startsWith(kTitle + "|将固件下载") ? QString() : shown;
        };
        pw.boxes().filesToChoose = {dir + "/fw.hex"};
        pw.click("pushButton_DownloadFW");
        // The download runs in a worker thread: its last box ends it.
        (void)QTest::qWaitFor([&] { return !last().isEmpty(); }, kReplyTimeoutMs + 1000);
        return last();
    }
    return messages(pw);
}

} // namespace

class TestFaultMatrix : public GuiTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile fw(m_dir.filePath("fw.hex"));
        QVERIFY(fw.open(QIODevice::WriteOnly) && fw.write(QByteArray(20000, '\x5A')) == 20000);
        QFile ble(m_dir.filePath("ble.json"));
        QVERIFY(ble.open(QIODevice::WriteOnly));
        ble.write(R"({"format":"labelsetup-profile","version":1,"settings":{"bluetooth.ble_name":"Dock-7-BLE"}})");
    }

    void matrix_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("seen");
        // Each group of cells: one operation on one medium, the faults
        // that end it alike, what the user is told.
        const auto cells = [](TestMedium medium, const QString &op, const QString &faults, const QString &seen) {
            for (const QString &fault : faults.split(' '))
                QTest::newRow(qPrintable(op + '/' + fault + '/' + mediumName(medium))) << medium << op << fault << seen;
        };
        const QString done = kTitle + '|' + kDone, net = kTitle + '|' + kNetError, usbError = kTitle + '|' + kUsbError;
        const QString identity = "exit 1 | labelsetup-cli: PRINTER: the printer did not answer its identity query";
        const QString garbled = "exit 1 | labelsetup-cli: PRINTER: the printer's reply to its identity query was malformed";
        const QString got = "exit 0 | print.density = 8";
        const QString applied = "exit 0 | bluetooth.ble_name: ZD-N480-BLE -> Dock-7-BLE | restart the printer for these "
                                "settings to take effect (or apply them with --restart)";
        // Over TCP the tool finds a reply in the stream, behind junk or in
        // pieces, and waits out replies for other codes; over USB a reply is
        // one transfer that must start with the lead-in, so a split reply,
        // junk ahead of it or another code is malformed there. The window
        // passes a malformed reply over in silence. A length byte beyond the
        // data is taken up to the tail.
        cells(tcp, "read", "none split garbage long", done + " [7]");
        cells(tcp, "read", "silent late wrong drop refuse", net + " [42]");
        cells(usb, "read", "none long", done + " [7]");
        cells(usb, "read", "silent late unplug", usbError + " [42]");
        cells(usb, "read", "split garbage wrong", " [42]");
        cells(tcp, "cli get", "none split garbage long", got);
        cells(tcp, "cli get", "silent late wrong refuse", identity);
        cells(tcp, "cli get", "drop", "exit 1 | labelsetup-cli: PRINTER: no answer on the network (time-out) (print.density)");
        cells(usb, "cli get", "none long", got);
        cells(usb, "cli get", "silent late", identity);
        cells(usb, "cli get", "split garbage wrong", garbled);
        cells(usb, "cli get", "unplug", "exit 1 | labelsetup-cli: PRINTER: USB communication failed (print.density)");
        // The console shows whatever comes back, or nothing; only a send
        // that fails is a box.
        cells(tcp, "console", "none split garbage wrong long", " [reply shown]");
        cells(tcp, "console", "silent late drop", "");
        cells(usb, "console", "none split garbage wrong long", " [reply shown]");
        cells(usb, "console", "silent late", "");
        cells(usb, "console", "unplug", "错误|发送失败！请重试");
        // What only writes reads no reply, so reply faults mean nothing to
        // it. Nothing acknowledges a frame over TCP either: a frame the
        // printer takes part of before it drops the link is reported done
        // when nothing follows it (the printer keeps its old value, and
        // --verify is there to tell). Whether a refused connection or a
        // dropped link is noticed by a later write depends on which comes
        // first, the write or the hang-up, so those cells are left out.
        cells(tcp, "set", "none", kTitle + "|处理成功，请重启打印机");
        cells(usb, "set", "none", kTitle + "|处理成功，请重启打印机");
        cells(usb, "set", "unplug", usbError);
        cells(tcp, "function", "none drop", done);
        cells(usb, "function", "none", done);
        cells(usb, "function", "unplug", usbError);
        cells(tcp, "firmware", "none", "下载成功|等待打印机指示灯停止闪烁");
        cells(tcp, "firmware", "drop refuse", "错误|向打印机发送数据失败。");
        cells(usb, "firmware", "none", "下载成功|等待打印机指示灯停止闪烁");
        cells(usb, "firmware", "unplug", "错误|向打印机发送数据失败。");
        cells(tcp, "cli apply", "none split garbage long drop", applied);
        cells(tcp, "cli apply", "silent late wrong refuse", identity);
        cells(usb, "cli apply", "none long", applied);
        cells(usb, "cli apply", "silent late", identity);
        cells(usb, "cli apply", "split garbage wrong", garbled);
        cells(usb, "cli apply", "unplug", "exit 1 | bluetooth.ble_name: ZD-N480-BLE -> Dock-7-BLE | labelsetup-cli: USB communication failed");
        // A serial line is a byte stream as TCP is: a reply behind junk or in
        // pieces is found, one for another code waited out. The slow faults
        // are each met once per kind of exchange.
        cells(line, "read", "none split garbage long", done + " [7]");
        cells(line, "read", "silent late wrong", kTitle + "|串口通讯出错，请重试 [42]");
        cells(ble, "read", "silent", kTitle + "|蓝牙通讯出错，请重试 [42]");
        cells(line, "cli get", "none split garbage long", got);
        cells(line, "cli get", "silent", identity + " at 115200 baud 8N1");
        cells(line, "console", "none split garbage wrong long", " [reply shown]");
        cells(line, "console", "silent", "");
        cells(line, "set", "none", kTitle + "|处理成功，请重启打印机");
        cells(line, "function", "none", done);
        cells(line, "firmware", "none", "下载成功|等待打印机指示灯停止闪烁");
        cells(line, "cli apply", "none long", applied);
    }

    void matrix()
    {
        QFETCH(TestMedium, medium);
        QFETCH(QString, op);
        QFETCH(QString, fault);
        QFETCH(QString, seen);
        PrinterWindow pw(medium);
        const bool window = !op.startsWith("cli");
        if (window)
            QVERIFY(pw.open());
        emu::PrinterModel &printer = pw.printer();
        printer.setSetting(0x58, QByteArray::fromHex("581b"));   // paper take 7000 ms
        QMap<int, QByteArray> before;
        for (const int code : {0x2B, 0x2C, 0x2E, 0x58})
            before[code] = printer.setting(quint8(code));

        emu::Faults faults;
        faults.silent = fault == "silent";
        faults.delayMs = fault == "late" ? kReplyTimeoutMs + 500 : 0;
        faults.splitBytes = fault == "split";
        faults.garbageBefore = fault == "garbage" ? QByteArray("noise\x1b\xff", 7) : QByteArray();
        faults.wrongCode = fault == "wrong";
        faults.lengthBeyond = fault == "long" ? 4 : 0;
        faults.dropAfterBytes = fault == "drop" ? kCutAt[op] : -1;
        faults.refuseConnections = fault == "refuse";
        printer.setFaults(faults);
        if (fault == "unplug")
            PrinterWindow::usb().unplugAfter(pw.usbId(), kCutAt[op]);
        const QString printerName = medium == tcp    ? QStringLiteral("tcp:127.0.0.1:%1").arg(pw.net()->tcpPort())
                                    : medium == line ? "serial:" + pw.serialNode() + ":115200"
                                                     : "usb:" + PrinterWindow::usb().sysfsPath(pw.usbId()).section('-', -1);

        QElapsedTimer clock;
        clock.start();
        const QString shown = operate(pw, op, printerName, m_dir.path());
        const qint64 took = clock.elapsed();
        qInfo("%s %s took %lld ms; frames: %s", qPrintable(printerName), qPrintable(op), took, qPrintable(pw.frames().join(", ")));
        QCOMPARE(shown, seen);
        QVERIFY2(took < kReplyTimeoutMs + 1000, qPrintable(QString::number(took)));
        if (window) {
            const QStringList controls = {"pushButton_close", "tabWidget_2", "pushButton_getPrinterInfo",
                                          "pushButton_Send", "pushButton_SendFile", "pushButton_DownloadFW",
                                          "pushButton_StripperSettingRead", "pushButton_SelfCheck"};
            QCOMPARE(enabledStates(pw, controls), expectedStates(controls, QList<bool>(controls.size(), true)));
        }
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{"ble.json", "fw.hex"}));
        // Each setting is as before, or wholly what a set sent; with no
        // fault, all that it sent.
        const QMap<int, QByteArray> wanted = op == "set"         ? kWanted
                                             : op == "cli apply" ? QMap<int, QByteArray>{{0x2C, kWanted[0x2C]}}
                                                                 : QMap<int, QByteArray>();
        // Nothing acknowledges a set frame: the printer may still be taking
        // in the last one when the operation has ended.
        for (auto it = wanted.cbegin(); fault == "none" && it != wanted.cend(); ++it)
            QVERIFY(printer.waitForFrame(0x01, quint8(it.key()), kReplyTimeoutMs));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QByteArray now = printer.setting(quint8(it.key())), set = wanted.value(it.key(), it.value());
            QVERIFY2(fault == "none" ? now == set : now == it.value() || now == set,
                     qPrintable(QStringLiteral("%1: %2").arg(it.key(), 0, 16).arg(hex(now))));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestFaultMatrix)
#include "tst_fault_matrix.moc"
