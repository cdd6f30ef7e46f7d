#include "language.h"

#include <algorithm>
#include <cmath>

QString forcedLanguage(const QStringList &arguments)
{
    struct Prefix { const char *prefix; const char *code; };
    static const Prefix prefixes[] = {
        {"zh_TW", "zh_TW"}, {"zh_HK", "zh_TW"}, {"zh_MO", "zh_TW"},
        {"pt", "pt_BR"}, {"de", "de"}, {"fr", "fr"}, {"nl", "nl"}, {"en", "en"},
    };
    for (const QString &argument : arguments) {
        for (const Prefix &p : prefixes) {
            if (argument.startsWith(QLatin1String(p.prefix), Qt::CaseSensitive))
                return QString::fromLatin1(p.code);
        }
    }
    return {};
}

LanguageChoice chooseLanguage(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::Chinese: {
        const bool traditional = locale.script() == QLocale::TraditionalHanScript
                || locale.territory() == QLocale::HongKong
                || locale.territory() == QLocale::Taiwan;
        return {traditional ? QStringLiteral("language_zh_TW.qm") : QString(), true};
    }
    case QLocale::Portuguese:
        return {QStringLiteral("language_pt_BR.qm"), false};
    case QLocale::German:
        return {QStringLiteral("language_de.qm"), false};
    case QLocale::French:
        return {QStringLiteral("language_fr.qm"), false};
    case QLocale::Dutch:
        return {QStringLiteral("language_nl.qm"), false};
    default:
        return {QStringLiteral("language_en.qm"), false};
    }
}

int reducedPointSize(int basePointSize)
{
    // The factor is the single-precision 0.9 widened to double; std::round
    // rounds halves away from zero.
    const double scaled = basePointSize * static_cast<double>(0.9f);
    return std::max(11, static_cast<int>(std::round(scaled)));
}
