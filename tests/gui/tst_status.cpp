// The "获取打印机状态" button against the emulated printer: the status word
// fetched over USB by the vendor control read and over the network by the
// status frame, its decoding into one line per condition, and the box shown
// when the printer cannot be asked.
#include "function_test_support.h"
#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QElapsedTimer>
#include <QTest>

Q_DECLARE_METATYPE(TestMedium)

namespace {

const QString kTitle = QStringLiteral("设置工具");
const QString kNotConnected = QStringLiteral("请确保打印机已进行连接");

// The fifteen conditions of bits 0..14, in bit order.
const char *const kConditions[] = {
    "打印中", "缺纸", "纸将尽", "卡纸", "碳带将尽", "无碳带", "打印头过热", "开盖",
    "定位异常（黑标或缝隙）", "切刀异常", "升级中", "升级异常", "指令错误", "打印暂停", "打印删除",
};

QString allConditions()
{
    QString text;
    for (const char *c : kConditions)
        text += QString::fromUtf8(c) + QLatin1Char('\n');
    return text;
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PrinterWindow::usb(); }

    void statusWordShown_data();
    void statusWordShown();
    void unreachablePrinter_data();
    void unreachablePrinter();
    void statusAfterReopeningSameEntry_data();
    void statusAfterReopeningSameEntry();
    void functionClickedWhileStatusWaits_data();
    void functionClickedWhileStatusWaits();

private:
    TestSettingsLocation m_settings;
};

void TestStatus::statusWordShown_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<quint32>("word");
    QTest::addColumn<QString>("shown");

    const QString idle = QStringLiteral("空闲中");
    const struct
    {
        const char *name;
        quint32 word;
        QString shown;
    } rows[] = {
        {"idle", 0x0000, idle},
        {"paper out", 0x0002, QStringLiteral("缺纸\n")},
        // Bit order, not importance order.
        {"paper out and cover open", 0x0082, QStringLiteral("缺纸\n开盖\n")},
        {"printing and job deleted", 0x4001, QStringLiteral("打印中\n打印删除\n")},
        // The second byte of the word carries bits 8..15.
        {"positioning error", 0x0100, QStringLiteral("定位异常（黑标或缝隙）\n")},
        // Bits 15..31 mean nothing to the tool.
        {"bit 15 only", 0x8000, idle},
        {"high half only", 0xFFFF0000u, idle},
        {"all fifteen", 0x7FFF, allConditions()},
        {"every bit", 0xFFFFFFFFu, allConditions()},
    };
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb})
        for (const auto &row : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(row.name), mediumName(m))))
                << m << row.word << row.shown;
}

void TestStatus::statusWordShown()
{
    QFETCH(TestMedium, medium);
    QFETCH(quint32, word);
    QFETCH(QString, shown);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.printer().setStatusWord(word);
    const int controlReadsBefore = medium == TestMedium::Usb ? PrinterWindow::usb().stats(pw.usbId()).controlReads : 0;

    pw.click("pushButton_GetPrinterStatus");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    const ShownBox box = pw.boxes().last();
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text, shown);
    QCOMPARE(box.icon, QMessageBox::Information);
    if (medium == TestMedium::Tcp) {
        // The status request carries length 4 but no payload.
        QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 03 04 1B FE FF")});
        QCOMPARE(pw.printer().rawByteCount(), 0);
    } else {
        // USB asks by the vendor control read; nothing goes down the bulk
        // pipe.
        const emu::UsbStats stats = PrinterWindow::usb().stats(pw.usbId());
        QCOMPARE(stats.controlReads, controlReadsBefore + 1);
        QVERIFY(pw.frames().isEmpty());
        QCOMPARE(pw.printer().rawByteCount(), 0);
    }
}

void TestStatus::unreachablePrinter_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("minMs");

    // A printer that takes the request and never answers is given the
    // network exchange's full three seconds.
    QTest::newRow("tcp silent") << TestMedium::Tcp << QStringLiteral("silent") << 3000;
    QTest::newRow("tcp printer off") << TestMedium::Tcp << QStringLiteral("off") << 0;
    QTest::newRow("usb unplugged") << TestMedium::Usb << QStringLiteral("unplug") << 0;
}

void TestStatus::unreachablePrinter()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, fault);
    QFETCH(int, minMs);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.printer().setStatusWord(0x0002);
    if (fault == QLatin1String("silent")) {
        emu::Faults silent;
        silent.silent = true;
        pw.printer().setFaults(silent);
    } else if (fault == QLatin1String("off")) {
        pw.net()->stop();
    } else {
        PrinterWindow::usb().unplug(pw.usbId());
    }

    QElapsedTimer clock;
    clock.start();
    pw.click("pushButton_GetPrinterStatus");
    const qint64 took = clock.elapsed();

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    QCOMPARE(pw.boxes().last().text, kNotConnected);
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    QVERIFY2(took >= minMs, qPrintable(QString::number(took)));
    QVERIFY2(took < 15000, qPrintable(QString::number(took)));
    // The failure does not close the connection.
    QVERIFY(!pw.widget("pushButton_open")->isEnabled());
}

// A close forgets the network transport object; reopening the same list
// entry without a new refresh must give the status read a transport again.
void TestStatus::statusAfterReopeningSameEntry_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::newRow("tcp") << TestMedium::Tcp;
    QTest::newRow("usb") << TestMedium::Usb;
}

void TestStatus::statusAfterReopeningSameEntry()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.click("pushButton_close");   // closes without a box
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().count(), 1);
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.clearFrames();
    pw.printer().setStatusWord(0x0080);

    pw.click("pushButton_GetPrinterStatus");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("开盖\n"));
}

// The status button leaves the window usable while the network printer
// takes its time, so a function button can run inside the wait. The
// function ends the shared connection (self-test: disconnect; reboot:
// close and dispose of the socket); the waiting status read must then
// give up cleanly, and both results reach the user in order.
void TestStatus::functionClickedWhileStatusWaits_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("closes");
    QTest::newRow("self-test") << QStringLiteral("pushButton_SelfCheck") << QStringLiteral("1B FF FE 00 00 00 1B FE FF")
                               << false;
    QTest::newRow("reboot") << QStringLiteral("pushButton_Reboot") << QStringLiteral("1B FF FE 00 02 00 1B FE FF")
                            << true;
}

void TestStatus::functionClickedWhileStatusWaits()
{
    QFETCH(QString, button);
    QFETCH(QString, frame);
    QFETCH(bool, closes);

    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    emu::Faults slow;
    slow.delayMs = 1500;
    pw.printer().setFaults(slow);
    bool clicked = false;
    QObject::connect(pw.net(), &emu::NetPrinter::tcpBytesReceived, pw.window(), [&] {
        if (!clicked) {
            clicked = true;
            pw.click(qPrintable(button));
        }
    }, Qt::QueuedConnection);

    pw.click("pushButton_GetPrinterStatus");

    QVERIFY(clicked);
    QCOMPARE(waitForFrameHex(pw, 2), (QStringList{QStringLiteral("1B FF FE 00 03 04 1B FE FF"), frame}));
    QCOMPARE(pw.boxes().count(), 2);
    QCOMPARE(pw.boxes().boxes().at(0).text, QStringLiteral("处理成功"));
    QCOMPARE(pw.boxes().boxes().at(1).text, kNotConnected);
    QCOMPARE(pw.widget("pushButton_open")->isEnabled(), closes);
}

QTEST_MAIN(TestStatus)
#include "tst_status.moc"
