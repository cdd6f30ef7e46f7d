// Language and font decisions at start-up, and the window title they give.
#include "app/language.h"
#include "app/startup.h"
#include "gui_harness.h"
#include "printer_fixture.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTest>
#include <QTranslator>

class TestStartup : public GuiTest
{
    Q_OBJECT

private slots:
    void forcedLanguage_data();
    void forcedLanguage();
    void catalogueForLocale_data();
    void catalogueForLocale();
    void reducedFont();
    void startup_data();
    void startup();

};

void TestStartup::forcedLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("forced");
    QTest::newRow("none") << QStringList() << "";
    QTest::newRow("zh_TW") << QStringList{"zh_TW"} << "zh_TW";
    QTest::newRow("zh_HK") << QStringList{"zh_HK"} << "zh_TW";
    QTest::newRow("zh_CN forces nothing") << QStringList{"zh_CN"} << "";
    QTest::newRow("pt_PT") << QStringList{"pt_PT"} << "pt_BR";
    QTest::newRow("english is a prefix match") << QStringList{"english"} << "en";
    QTest::newRow("EN is case-sensitive") << QStringList{"EN"} << "";
    QTest::newRow("first match wins") << QStringList{"xx", "de", "fr"} << "de";
    QTest::newRow("nl_BE") << QStringList{"nl_BE"} << "nl";
}

void TestStartup::forcedLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, forced);
    QCOMPARE(::forcedLanguage(arguments), forced);
}

void TestStartup::catalogueForLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<bool>("chineseFont");
    QTest::newRow("zh_CN") << QLocale(QStringLiteral("zh_CN")) << "" << true;
    QTest::newRow("zh_HK") << QLocale(QStringLiteral("zh_HK")) << "language_zh_TW.qm" << true;
    QTest::newRow("zh_TW") << QLocale(QStringLiteral("zh_TW")) << "language_zh_TW.qm" << true;
    QTest::newRow("traditional Macao")
        << QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Macau) << "language_zh_TW.qm" << true;
    QTest::newRow("pt_PT") << QLocale(QStringLiteral("pt_PT")) << "language_pt_BR.qm" << false;
    QTest::newRow("fr_CA") << QLocale(QStringLiteral("fr_CA")) << "language_fr.qm" << false;
    QTest::newRow("nl_BE") << QLocale(QStringLiteral("nl_BE")) << "language_nl.qm" << false;
    QTest::newRow("ru_RU") << QLocale(QStringLiteral("ru_RU")) << "language_en.qm" << false;
    QTest::newRow("en_US") << QLocale(QStringLiteral("en_US")) << "language_en.qm" << false;
}

void TestStartup::catalogueForLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, catalogue);
    QFETCH(bool, chineseFont);
    const LanguageChoice choice = chooseLanguage(locale);
    QCOMPARE(choice.catalogue, catalogue);
    QCOMPARE(choice.chineseFont, chineseFont);
}

void TestStartup::reducedFont()
{
    QCOMPARE(reducedPointSize(13), 12);
    QCOMPARE(reducedPointSize(10), 11);   // never below 11
    // 15 x 0.9f is 13.4999996 in double: the single-precision factor rounds down.
    QCOMPARE(reducedPointSize(15), 13);
    QCOMPARE(reducedPointSize(20), 18);
}

void TestStartup::startup_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QString>("title");
    const QString chinese = QStringLiteral("标签机设置工具V1.0.9");
    QTest::newRow("simplified chinese system") << QLocale(QStringLiteral("zh_CN")) << QStringList() << false << 13
                                               << chinese;
    QTest::newRow("chinese system, en forced") << QLocale(QStringLiteral("zh_CN")) << QStringList{"en"} << true
                                               << 12 << "Label printer setup toolV1.0.9";
    QTest::newRow("english system") << QLocale(QStringLiteral("en_US")) << QStringList() << true << 12
                                    << "Label printer setup toolV1.0.9";
    QTest::newRow("zh_TW forced") << QLocale(QStringLiteral("en_US")) << QStringList{"zh_TW"} << true << 13 << "";
    QTest::newRow("pt forced") << QLocale(QStringLiteral("zh_CN")) << QStringList{"pt"} << true << 12 << "";
}

void TestStartup::startup()
{
    QFETCH(QLocale, system);
    QFETCH(QStringList, arguments);
    QFETCH(bool, loaded);
    QFETCH(int, pointSize);
    QFETCH(QString, title);

    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    QTranslator translator;
    const StartupOutcome outcome = configureApplication(*app, translator, arguments, system);
    QCOMPARE(outcome.catalogueLoaded, loaded);
    QCOMPARE(outcome.font.pointSize(), pointSize);
    QCOMPARE(QApplication::font().pointSize(), pointSize);

    MainWindow window;
    window.setWindowTitle(mainWindowTitle());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (!title.isEmpty()) {
        QCOMPARE(window.windowTitle(), title);
    } else {
        // Every other catalogue translates the title and keeps the version.
        QVERIFY(window.windowTitle().endsWith(QLatin1String("V1.0.9")));
        QVERIFY(window.windowTitle() != QStringLiteral("标签机设置工具V1.0.9"));
    }
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
