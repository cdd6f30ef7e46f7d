// Start-up: language and font. Kept apart from main() so tests can run the
// same start-up for any system locale and command line.
#pragma once

#include "app/language.h"

#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>

class QApplication;
class QTranslator;

struct StartupOutcome
{
    QLocale locale;         // effective locale
    QString forced;         // forced language code, empty if none
    LanguageChoice choice;
    bool catalogueLoaded = false;
    QFont font;             // the application font that was set
};

// Writes the start-up diagnostics, installs the catalogue (only if it
// loads) and sets the application font.
StartupOutcome configureApplication(QApplication &app, QTranslator &translator,
                                    const QStringList &arguments, const QLocale &systemLocale);

// "标签机设置工具" in the interface language, then "V" and the project version.
QString mainWindowTitle();

// The answer to "--version" or "--help" anywhere on the command line (the
// version line, or the usage with the language argument), for the program
// to print and exit before any window or display is needed; empty when
// neither is asked for.
QString commandLineAnswer(const QStringList &arguments);
