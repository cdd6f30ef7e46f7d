// The "获取打印机状态" button against the emulated printer: the status word
// fetched over USB by the vendor control read and over the network by the
// status frame, its decoding into one line per condition, and the box shown
// when the printer cannot be asked.
#include "page_test_support.h"

#include <QElapsedTimer>

namespace {

const QString kNotConnected = QStringLiteral("请确保打印机已进行连接");

} // namespace

class TestStatus : public GuiTest
{
    Q_OBJECT

private slots:

    void statusWordShown_data();
    void statusWordShown();
    void unreachablePrinter_data();
    void unreachablePrinter();
    void statusAfterReopeningSameEntry();
    void functionClickedWhileStatusWaits_data();
    void functionClickedWhileStatusWaits();

};

void TestStatus::statusWordShown_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<quint32>("word");
    QTest::addColumn<QString>("shown");

    const QString idle = QStringLiteral("空闲中");
    const auto tcp = TestMedium::Tcp;
    const auto usb = TestMedium::Usb;
    QTest::newRow("idle/tcp") << tcp << quint32(0x0000) << idle;
    QTest::newRow("idle/usb") << usb << quint32(0x0000) << idle;
    // Decoding is pinned by the protocol tests; here one line per condition.
    QTest::newRow("paper out and cover open/tcp") << tcp << quint32(0x0082) << QStringLiteral("缺纸\n开盖\n");
    // The second byte of the word carries bits 8..15.
    for (TestMedium m : {tcp, usb})
        QTest::newRow(qPrintable(QStringLiteral("positioning error/") + mediumName(m)))
            << m << quint32(0x0100) << QStringLiteral("定位异常（黑标或缝隙）\n");
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

    VERIFY_ONE_BOX(pw, shown);
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    // Over TCP the status frame (length 4, no payload); over USB the
    // vendor control read, with nothing down the bulk pipe.
    if (medium == TestMedium::Tcp)
        QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 03 04 1B FE FF")});
    else
        QCOMPARE(PrinterWindow::usb().stats(pw.usbId()).controlReads, controlReadsBefore + 1);
    QCOMPARE(pw.frames().size(), medium == TestMedium::Tcp ? 1 : 0);
    QCOMPARE(pw.printer().rawByteCount(), 0);
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
    // Two of the four status bytes: a failed read, never "idle".
    QTest::newRow("usb short read") << TestMedium::Usb << QStringLiteral("short") << 0;
}

void TestStatus::unreachablePrinter()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, fault);
    QFETCH(int, minMs);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.printer().setStatusWord(0x0002);
    cutOff(pw, fault);

    QElapsedTimer clock;
    clock.start();
    pw.click("pushButton_GetPrinterStatus");
    const qint64 took = clock.elapsed();

    VERIFY_ONE_BOX(pw, kNotConnected);
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    QVERIFY2(took >= minMs, qPrintable(QString::number(took)));
    QVERIFY2(took < 15000, qPrintable(QString::number(took)));
    // The failure does not close the connection.
    QVERIFY(!pw.widget("pushButton_open")->isEnabled());
}

// A close forgets the network transport object; reopening the same list
// entry without a new refresh must give the status read a transport again.
void TestStatus::statusAfterReopeningSameEntry()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");   // closes without a box
    pw.click("pushButton_open");
    VERIFY_ONE_BOX(pw, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.clearFrames();
    pw.printer().setStatusWord(0x0080);

    pw.click("pushButton_GetPrinterStatus");

    VERIFY_ONE_BOX(pw, QStringLiteral("开盖\n"));
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
