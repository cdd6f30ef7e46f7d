// Start-up as main() runs it: the language forced by the command line or
// chosen from the system locale, the catalogue installed, the font and the
// window title they give.
#include "app/startup.h"

#include <QApplication>
#include <QTest>
#include <QTranslator>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // The first argument that begins (case-sensitively) with a known code
    // forces that language; otherwise the system locale decides.
    void language_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("forced");
        QTest::addColumn<QString>("catalogue");   // empty: the built-in Chinese texts
        QTest::newRow("zh_HK system") << "zh_HK" << "" << "" << "zh_TW";
        QTest::newRow("traditional Macao system") << "zh_Hant_MO" << "" << "" << "zh_TW";
        QTest::newRow("pt_PT system") << "pt_PT" << "" << "" << "pt_BR";
        QTest::newRow("fr_CA system") << "fr_CA" << "" << "" << "fr";
        QTest::newRow("nl_BE system") << "nl_BE" << "" << "" << "nl";
        QTest::newRow("ru_RU system") << "ru_RU" << "" << "" << "en";
        QTest::newRow("zh_HK forced") << "en_US" << "zh_HK" << "zh_TW" << "zh_TW";
        QTest::newRow("zh_CN forces nothing") << "en_US" << "zh_CN" << "" << "en";
        QTest::newRow("pt_PT forced") << "zh_CN" << "pt_PT" << "pt_BR" << "pt_BR";
        QTest::newRow("english: a prefix") << "zh_CN" << "english" << "en" << "en";
        QTest::newRow("EN: case-sensitive") << "zh_CN" << "EN" << "" << "";
        QTest::newRow("first match wins") << "zh_CN" << "xx de fr" << "de" << "de";
    }

    // Chinese interfaces keep the 13 pt base font, every other one gets the
    // reduced 12 pt; every catalogue loads from the resources and
    // translates the title.
    void language()
    {
        QFETCH(QString, system);
        QFETCH(QString, arguments);
        QFETCH(QString, forced);
        QFETCH(QString, catalogue);
        QTranslator translator;   // taken out of the application again when it goes
        const auto outcome = configureApplication(*qApp, translator, arguments.split(' '), QLocale(system));
        QCOMPARE(outcome.forced, forced);
        QCOMPARE(outcome.choice.catalogue, catalogue.isEmpty() ? "" : "language_" + catalogue + ".qm");
        QCOMPARE(outcome.catalogueLoaded, !catalogue.isEmpty());
        QCOMPARE(QApplication::font().pointSize(), catalogue.isEmpty() || catalogue == "zh_TW" ? 13 : 12);
        QCOMPARE(mainWindowTitle().startsWith("标签机设置工具"), catalogue.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
