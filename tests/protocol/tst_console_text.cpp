// The debug console's pure rules: what the hexadecimal send area accepts,
// the text it turns back into, the message-area line and the USB reply cut.
#include "ui/console_text.h"

#include <QTest>

class TestConsoleText : public QObject
{
    Q_OBJECT

private slots:
    void parseHex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");   // empty: refused
        QTest::newRow("pairs") << "1b ff fe 00" << QByteArray::fromHex("1BFFFE00");
        QTest::newRow("tab separator") << "1B\tFF" << QByteArray::fromHex("1BFF");
        for (const char *bad : {"1BFF", "1B  FF", "1B FF\n", "1B FF\r\n", " 1B", "1B ", "1G", "1", ""})
            QTest::newRow(bad) << QString(bad) << QByteArray();
    }

    void parseHex()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(console::parseHex(text).value_or(QByteArray()), bytes);
    }

    void conversions()
    {
        QCOMPARE(console::sendBytes("a\nb\n"), QByteArray("a\r\nb\r\n"));
        QCOMPARE(console::hexText(console::sendBytes("12\n")), QString("31 32 0D 0A"));
        // Hexadecimal sending turned on and off again.
        QCOMPARE(console::textFromHex(console::hexText(console::sendBytes("标\n"))), QString("标\r\n"));
        QCOMPARE(console::textFromHex("31 32 0d 0A"), QString("12\r\n"));
        QCOMPARE(console::textFromHex("ABC"), QString("此十六进制字符串格式无效。"));
        QCOMPARE(console::line(QTime(9, 5, 7), console::Direction::Send, "AB", false), QString("[09:05:07]SEND->AB"));
        QCOMPARE(console::line(QTime(23, 0, 0), console::Direction::Receive, "\x01\x02\x03", true),
                 QString("[23:00:00]RECV<-01 02 03"));
    }

    void trimUsbReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("shown");
        const QByteArray frame = QByteArray::fromHex("1BFFFE01021BFEFF");
        QTest::newRow("framed") << "\0" + frame + QByteArray(255, '\0') << frame;
        QTest::newRow("second frame dropped") << frame + frame << frame;
        QTest::newRow("no tail") << QByteArray::fromHex("001BFFFE0102") << QByteArray::fromHex("001BFFFE0102");
        QTest::newRow("tail first") << QByteArray::fromHex("1BFEFF001BFFFE") << QByteArray::fromHex("1BFEFF001BFFFE");
    }

    void trimUsbReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, shown);
        QCOMPARE(console::trimUsbReply(reply), shown);
    }
};

QTEST_MAIN(TestConsoleText)
#include "tst_console_text.moc"
