#include "printer_fixture.h"
#include "mainwindow.h"
#include <QComboBox>
#include <QTest>

class TestSmoke : public QObject
{
    Q_OBJECT
private slots:
    void readPrintSettings_data()
    {
        QTest::addColumn<int>("medium");
        QTest::newRow("tcp") << int(TestMedium::Tcp);
        QTest::newRow("usb") << int(TestMedium::Usb);
    }
    void readPrintSettings()
    {
        QFETCH(int, medium);
        PrinterWindow pw{TestMedium(medium)};
        QVERIFY(pw.open());
        pw.click("pushButton_PrintSettingRead");
        QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
        QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
        qDebug() << pw.frameHex();
        QCOMPARE(pw.frames().size(), 13);
    }
private:
    TestSettingsLocation m_settings;
};

QTEST_MAIN(TestSmoke)
#include "tst_smoke_pages.moc"
