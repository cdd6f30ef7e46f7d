#include "startup.h"

#include <QApplication>
#include <QDebug>
#include <QMetaEnum>
#include <QTranslator>

StartupOutcome configureApplication(QApplication &app, QTranslator &translator,
                                    const QStringList &arguments, const QLocale &systemLocale)
{
    StartupOutcome outcome;
    outcome.locale = systemLocale;

    qDebug() << "Qt version:" << "6.3.0";
    qDebug() << "System locale:" << systemLocale.name();
    qDebug() << "locale.language:"
             << QMetaEnum::fromType<QLocale::Language>().valueToKey(systemLocale.language());

    for (const QString &argument : arguments)
        qDebug() << "语言参数: " << argument;
    outcome.forced = forcedLanguage(arguments);
    if (!outcome.forced.isEmpty()) {
        outcome.locale = QLocale(outcome.forced);
        qDebug() << "Forced language from command line:" << outcome.forced;
    }

    QFont baseFont(QStringLiteral("方正兰亭圆"), kBaseFontPointSize);
    QFont reducedFont(baseFont);
    reducedFont.setPointSize(reducedPointSize(baseFont.pointSize()));

    outcome.choice = chooseLanguage(outcome.locale);
    if (!outcome.choice.catalogue.isEmpty()
            && translator.load(outcome.choice.catalogue, QStringLiteral(":/translations/"))) {
        app.installTranslator(&translator);
        outcome.catalogueLoaded = true;
    }
    outcome.font = outcome.choice.chineseFont ? baseFont : reducedFont;
    app.setFont(outcome.font);
    return outcome;
}

QString mainWindowTitle()
{
    return QObject::tr("标签机设置工具") + QStringLiteral("V" LPS_VERSION);
}

QString commandLineAnswer(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h")))
        return QStringLiteral(
            "Usage: labelsetup [LANGUAGE]\n"
            "       labelsetup --help | --version\n"
            "\n"
            "Set up thermal label printers on USB or on the network.\n"
            "\n"
            "LANGUAGE forces the interface language instead of the system locale's:\n"
            "  zh_TW (also zh_HK, zh_MO)  Traditional Chinese\n"
            "  pt_BR (any pt...)          Brazilian Portuguese\n"
            "  de, fr, nl, en             German, French, Dutch, English\n"
            "Without it, or with any other word, the system locale decides: Chinese\n"
            "locales get Chinese, locales without a catalogue of their own English.\n"
            "\n"
            "  -h, --help     show this help and exit\n"
            "      --version  show the version and exit\n");
    if (arguments.contains(QLatin1String("--version")))
        return QStringLiteral("labelsetup " LPS_VERSION "\n");
    return {};
}
