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
