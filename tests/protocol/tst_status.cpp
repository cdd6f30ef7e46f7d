// Status word to text: bit order, one line per condition, bits 15..31
// ignored. No translator is installed, so the Chinese source texts come
// back unchanged.
#include "protocol/status.h"

#include <QTest>

namespace {

const QStringList kAll = {
    QStringLiteral("打印中"), QStringLiteral("缺纸"), QStringLiteral("纸将尽"),
    QStringLiteral("卡纸"), QStringLiteral("碳带将尽"), QStringLiteral("无碳带"),
    QStringLiteral("打印头过热"), QStringLiteral("开盖"),
    QStringLiteral("定位异常（黑标或缝隙）"), QStringLiteral("切刀异常"),
    QStringLiteral("升级中"), QStringLiteral("升级异常"), QStringLiteral("指令错误"),
    QStringLiteral("打印暂停"), QStringLiteral("打印删除")};

QString lines(const QStringList &messages)
{
    QString text;
    for (const QString &m : messages)
        text += m + QLatin1Char('\n');
    return text;
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        QTest::addColumn<quint32>("word");
        QTest::addColumn<QString>("expected");
        QTest::newRow("idle") << quint32(0) << QString();
        QTest::newRow("paper out") << quint32(0x0002) << lines({"缺纸"});
        QTest::newRow("paper out and cover, bit order") << quint32(0x0082)
                                                        << lines({"缺纸", "开盖"});
        QTest::newRow("printing and deleted") << quint32(0x4001) << lines({"打印中", "打印删除"});
        QTest::newRow("bit 15 ignored") << quint32(0x8000) << QString();
        QTest::newRow("high half ignored") << quint32(0xFFFF0000) << QString();
        QTest::newRow("every condition") << quint32(0x7FFF) << lines(kAll);
        QTest::newRow("all bits") << quint32(0xFFFFFFFF) << lines(kAll);
        QTest::newRow("cover from network word") << quint32(0x80) << lines({"开盖"});
    }
    void words()
    {
        QFETCH(quint32, word);
        QFETCH(QString, expected);
        QCOMPARE(checkPrinterStatus(word), expected);
    }

    void eachBitAlone_data()
    {
        QTest::addColumn<int>("bit");
        for (int bit = 0; bit < 15; ++bit)
            QTest::addRow("bit %d", bit) << bit;
    }
    void eachBitAlone()
    {
        QFETCH(int, bit);
        QCOMPARE(checkPrinterStatus(1u << bit), kAll.at(bit) + QLatin1Char('\n'));
    }
};

QTEST_APPLESS_MAIN(TestStatus)
#include "tst_status.moc"
