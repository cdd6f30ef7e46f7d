// The debug console against the emulated printer: the bytes that arrive,
// in which writes, the lines the message area shows, and what is refused.
#include "page_test_support.h"

#include <QTextBrowser>
#include <QTextEdit>

namespace {

// The message area, each line's time stamp cut off (its form is the
// console formatting's unit test; a line without one keeps its "[").
QStringList lines(PrinterWindow &pw)
{
    static const QRegularExpression stamp("^\\[\\d\\d:\\d\\d:\\d\\d\\]", QRegularExpression::MultilineOption);
    return pw.widget<QTextBrowser>("textBrowser_Debug")->toPlainText().remove(stamp).split('\n');
}

const QByteArray kQuery = QByteArray::fromHex("1BFFFE0219001BFEFF");
const QString kReply = "RECV<-1B FF FE 02 19 01 2A 1B FE FF";

} // namespace

class TestConsole : public GuiTest
{
    Q_OBJECT

private slots:
    void send_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("shown");   // message-area lines, "" for none

        const QString invalid = "此十六进制字符串格式无效。";
        QTest::newRow("refused") << true << "1B FF\n" << "" << QByteArray() << QStringList{"错误|" + invalid}
                                 << QStringList{""};
        QTest::newRow("printer off") << false << "AB" << "off" << QByteArray()
                                     << QStringList{"错误|发送失败！请重试"} << QStringList{""};
        // A second click while the chunks go out starts no second send.
        const QString text(2500, 'x');
        QTest::newRow("clicked again") << false << text << "during:pushButton_Send" << text.toLatin1()
                                       << QStringList() << QStringList{"SEND->" + text.left(1024), "SEND->" + text.left(1024),
                                                                       "SEND->" + text.left(452)};
    }

    void send()
    {
        QFETCH(bool, hex);
        QFETCH(QString, text);
        QFETCH(QString, steps);
        QFETCH(QByteArray, received);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, shown);
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        pw.widget<QAbstractButton>("radioButton_hexSend")->setChecked(hex);
        pw.widget<QTextEdit>("textEdit_Send")->setPlainText(text);
        step(pw, steps);
        pw.boxes().clear();
        pw.click("pushButton_Send");

        QTRY_COMPARE_WITH_TIMEOUT(pw.printer().received(), received, 10000);
        QStringList seen;
        for (const ShownBox &box : pw.boxes().boxes())
            seen << box.title + '|' + box.text + (box.icon == QMessageBox::Critical ? "" : " (not critical)");
        QCOMPARE(seen, boxes);
        QCOMPARE(lines(pw), shown);
        QVERIFY(pw.widget("pushButton_Send")->isEnabled());
    }

    // Closing the window in the middle of a send ends it at the next chunk.
    void closeWhileSending()
    {
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        pw.widget<QTextEdit>("textEdit_Send")->setPlainText(QString(2500, 'x'));
        QObject::connect(pw.net(), &emu::NetPrinter::tcpBytesReceived, pw.window(), [&pw] { pw.window()->close(); },
                         Qt::SingleShotConnection);
        pw.click("pushButton_Send");
        QVERIFY(!pw.window()->isVisible());
        QCOMPARE(lines(pw), QStringList{"SEND->" + QString(1024, 'x')});
    }

    // 2500 bytes go out as 1024, 1024 and 452, each followed by a read-back
    // and its own lines; here every write ends in a query the printer
    // answers.
    void chunks()
    {
        PrinterWindow pw(TestMedium::Usb);
        QVERIFY(pw.open());
        pw.printer().setSetting(0x19, "\x2A");
        const QByteArray first = QByteArray(1015, 'x') + kQuery, last = QByteArray(443, 'y') + kQuery;
        const QByteArray bytes = first + first + last;
        pw.widget<QAbstractButton>("radioButton_hexSend")->setChecked(true);
        pw.widget<QAbstractButton>("radioButton_hexRecv")->setChecked(true);
        pw.widget<QTextEdit>("textEdit_Send")->setPlainText(hex(bytes));
        const emu::UsbStats before = PrinterWindow::usb().stats(pw.usbId());
        pw.click("pushButton_Send");
        const emu::UsbStats after = PrinterWindow::usb().stats(pw.usbId());
        QCOMPARE(pw.printer().received(), bytes);
        QCOMPARE(after.outTransfers.value(0x01) - before.outTransfers.value(0x01), 3);
        QCOMPARE(lines(pw), (QStringList{"SEND->" + hex(first), kReply, "SEND->" + hex(first), kReply,
                                         "SEND->" + hex(last), kReply}));
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
