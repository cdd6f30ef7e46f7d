// Status word to text: bit order, one line per condition, bits 15..31
// ignored. No translator is installed, so the Chinese source texts come
// back unchanged.
#include "protocol/status.h"

#include <QTest>

class TestStatus : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        const QStringList all = {"打印中", "缺纸", "纸将尽", "卡纸", "碳带将尽", "无碳带",
                                 "打印头过热", "开盖", "定位异常（黑标或缝隙）", "切刀异常",
                                 "升级中", "升级异常", "指令错误", "打印暂停", "打印删除"};
        QTest::addColumn<quint32>("word");
        QTest::addColumn<QStringList>("messages");
        for (int bit = 0; bit < 15; ++bit)
            QTest::addRow("bit %d alone", bit) << (1u << bit) << QStringList{all.at(bit)};
        QTest::newRow("all bits") << quint32(0xFFFFFFFF) << all;
    }
    void words()
    {
        QFETCH(quint32, word);
        QFETCH(QStringList, messages);
        QString expected;
        for (const QString &m : messages)
            expected += m + QLatin1Char('\n');
        QCOMPARE(checkPrinterStatus(word), expected);
    }
};

QTEST_APPLESS_MAIN(TestStatus)
#include "tst_status.moc"
