// Firmware and font downloads and the console's file transfer into the
// emulated printer: the bytes it received, the chunks, the progress, the
// box at the end, the window answering throughout, the controls given
// back as the open left them and the temporary file gone, also when the
// printer pauses, stops taking data or cannot be reached, and when the
// window is closed in the middle.
#include "maintenance/firmware_file.h"
#include "page_test_support.h"

#include <QDir>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTabWidget>

namespace {

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(size);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

// The controls a transfer locks, and the first three tabs.
QString transferControls(PrinterWindow &pw)
{
    const auto *tabs = pw.widget<QTabWidget>("tabWidget_2");
    return enabledStates(pw, {"pushButton_DownloadFW", "pushButton_DownloadFL", "pushButton_SendFile",
                              "pushButton_Send", "pushButton_getPrinterInfo", "pushButton_close",
                              "pushButton_BackupSettings", "pushButton_RestoreSettings"})
        + QStringLiteral(" tabs=%1%2%3").arg(tabs->isTabEnabled(0)).arg(tabs->isTabEnabled(1)).arg(tabs->isTabEnabled(2));
}

} // namespace

class TestDownload : public GuiTest
{
    Q_OBJECT

private slots:
    void transfer_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("arrived");        // -1: the whole file
        QTest::addColumn<QString>("progress");   // values the bar took, "" unchecked
        QTest::addColumn<QStringList>("boxes");

        const QString fw = "pushButton_DownloadFW", font = "pushButton_DownloadFL", file = "pushButton_SendFile";
        const QString hexDialog = "HEX File|HEX Files (*.hex);;All Files (*)";
        const QString binDialog = "BIN File|BIN Files (*.bin);;All Files (*)";
        const QString fileDialog = "All Files (*)|All Files (*)";
        const QString done = "下载成功|等待打印机指示灯停止闪烁", failed = "错误|向打印机发送数据失败。";
        // The firmware's confirmation: which printer, which file.
        const auto named = [](int size, const QString &model = "LP-200") {
            return QString("设置工具|将固件下载到这台打印机吗？\n\n型号：%1\n固件版本：V2.4.1\n序列号：SN20261206001"
                           "\n\n文件：fw.hex\n大小：%2字节").arg(model).arg(size);
        };
        QTest::newRow("firmware/usb") << usb << fw << 25000 << "" << -1 << "40 81 100" << QStringList{hexDialog, named(25000), done};
        QTest::newRow("font/tcp") << tcp << font << 20 << "" << -1 << "100" << QStringList{binDialog, done};
        // Over a line, chunks of what it carries in 100 ms (1152 bytes at
        // 115200 baud); a Bluetooth link is the same serial-port path.
        QTest::newRow("firmware/serial") << line << fw << 3000 << "" << -1 << "38 76 100" << QStringList{hexDialog, named(3000), done};
        QTest::newRow("empty font/usb") << usb << font << 0 << "" << -1 << "" << QStringList{binDialog, done};
        // The console's file takes the firmware's way out (its failures
        // too), with its progress on its own bar.
        QTest::newRow("console file/tcp") << tcp << file << 3000 << "" << -1 << "28 56 85 100"
                                          << QStringList{fileDialog, "下载成功|下载成功"};
        // A printer that hangs up: three attempts at the chunk, no new
        // connection, the first bytes only (a USB pipe that stops taking
        // data: the 40 s pause below).
        QTest::newRow("link dropped/tcp") << tcp << fw << 20000 << "drop:5000" << 5000 << "" << QStringList{hexDialog, named(20000), failed};
        QTest::newRow("firmware unreachable") << tcp << fw << 1000 << "off" << 0 << ""
                                              << QStringList{hexDialog, "Error|Connection failed: Connection refused"};
        QTest::newRow("font unreachable") << tcp << font << 1000 << "off" << 0 << ""
                                          << QStringList{binDialog, "错误|连接失败: Connection refused"};
        // The window as the open left it: no settings pages, no font download.
        QTest::newRow("firmware, KV-520/usb") << usb << fw << 1000 << "model:KV-520" << -1 << "" << QStringList{hexDialog, named(1000, "KV-520"), done};
        // A printer that stops reading for a while after 100 kB (it writes
        // its flash): shorter than a chunk's three attempts of 10 s, it costs
        // time; longer, it fails the download; no byte arrives twice. Over
        // TCP the system's buffers take a few MiB before the tool feels the
        // pause; over USB the transfer that meets it is cut short, and only
        // its rest follows.
        for (const TestMedium medium : {tcp, usb}) {
            const int size = medium == tcp ? 3 << 20 : 200000;
            const char *name = medium == tcp ? "/tcp" : "/usb";
            QTest::newRow(qPrintable(QString("paused 25 s") + name)) << medium << fw << size << "pause:25000" << -1 << ""
                                                                     << QStringList{hexDialog, named(size), done};
            QTest::newRow(qPrintable(QString("paused 40 s") + name)) << medium << fw << size << "pause:40000" << 100000 << ""
                                                                     << QStringList{hexDialog, named(size), failed};
        }
    }

    void transfer()
    {
        QFETCH(TestMedium, medium);
        QFETCH(QString, button);
        QFETCH(int, size);
        QFETCH(QString, fault);
        QFETCH(int, arrived);
        QFETCH(QString, progress);
        QFETCH(QStringList, boxes);
        const bool console = button.endsWith("SendFile");
        QTemporaryDir dir;
        // The console's file is the user's own, even with "_decrypted" in its name.
        const QString path = dir.filePath(console ? "mine_decrypted.bin" : button.endsWith("FW") ? "fw.hex" : "a.b.bin");
        const QByteArray content = randomBytes(size);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == size);
        file.close();
        const QByteArray sent = console ? content : firmware::decryptImage(content);

        PrinterWindow pw(medium, fault.startsWith("model:") ? fault.mid(6) : QStringLiteral("LP-200"));
        QVERIFY(pw.open());
        const int connections = pw.net() ? pw.net()->acceptedConnections() : 0;
        // A pause counts its bytes from after the firmware's confirmation.
        const bool confirmed = button.endsWith("FW") && fault != "off";
        const bool later = confirmed && fault.startsWith("pause:");
        atFirmwareConfirmation(pw, false, later ? std::function<void()>([&pw, fault] { step(pw, fault); }) : nullptr);
        if (!later)
            step(pw, fault);
        const QString opened = transferControls(pw);
        pw.boxes().clear();
        pw.boxes().filesToChoose = {path};
        auto *bar = pw.widget<QProgressBar>(console ? "progressBar_Debug" : "progressBar_Update");
        QSignalSpy values(bar, &QProgressBar::valueChanged);
        // The window answers throughout: a timer of its thread is served.
        QElapsedTimer sinceBeat;
        qint64 longestGap = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceBeat.restart()); });
        sinceBeat.start();
        beat.start(100);
        pw.click(qPrintable(button));

        QVERIFY(runEvents([&] { return pw.boxes().count() == boxes.size(); }, 90000));
        QVERIFY2(longestGap < 2000, qPrintable(QString::number(longestGap)));
        QStringList seen;
        for (const ShownBox &box : pw.boxes().boxes())
            seen << box.title + '|' + box.text;
        QCOMPARE(seen, boxes);
        QCOMPARE(pw.printer().received(), arrived < 0 ? sent : sent.left(arrived));
        if (!progress.isEmpty()) {
            QStringList taken;
            for (const QList<QVariant> &value : values)
                taken << value.at(0).toString();
            QCOMPARE(taken.join(' '), progress);
        }
        if (medium == tcp && fault != "off")
            QCOMPARE(pw.net()->acceptedConnections(), connections + 1 + (confirmed ? 1 : 0));
        QCOMPARE(transferControls(pw), opened);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
    }

    // Closing the window in the middle of a download asks first; going on
    // keeps the download going. Closing ends it: the worker, waiting for
    // its chunk to be written, is answered and stops; the temporary file
    // goes.
    void closeWhileSending()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("big.hex"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(randomBytes(2 << 20)) == 2 << 20);
        file.close();
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        atFirmwareConfirmation(pw, false);
        pw.boxes().filesToChoose = {file.fileName()};
        const QString opened = transferControls(pw);   // all enabled, as tst_fault_matrix checks
        pw.click("pushButton_DownloadFW");
        const auto *bar = pw.widget<QProgressBar>("progressBar_Update");
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 2, 30000);
        // Everything locked but the third tab.
        QCOMPARE(transferControls(pw), QString(opened).replace("=1", "=0").replace("=011", "=001"));
        pw.boxes().clear();
        pw.boxes().boxesToCancel = 1;
        QVERIFY(!pw.window()->close());
        QCOMPARE(pw.boxes().last().text, QStringLiteral("固件下载进行中，关闭窗口将中断下载。确定关闭吗？"));
        const int at = bar->value();
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > at, 30000);
        QVERIFY(pw.window()->close());
        pw.destroyWindow();
        QVERIFY(pw.printer().received().size() < 2 << 20);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.hex"});
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
