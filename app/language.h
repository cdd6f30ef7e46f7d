// Which language the interface is shown in. The decision is a pure
// function of the command line and the effective locale, so tests call it
// directly; main() only applies it.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The first argument that begins (case-sensitively) with a known language
// code forces that language: "zh_TW"/"zh_HK"/"zh_MO" -> "zh_TW", "pt" ->
// "pt_BR", "de", "fr", "nl", "en". Empty when no argument does.
QString forcedLanguage(const QStringList &arguments);

struct LanguageChoice
{
    QString catalogue;   // file name under ":/translations/", empty = built-in texts
    bool chineseFont;    // base (13 pt) font rather than the reduced one
};

// Catalogue and font for the effective locale.
LanguageChoice chooseLanguage(const QLocale &locale);

// The interface font sizes: Chinese interfaces use the base size, every
// other language a slightly smaller one (never below 11 points).
constexpr int kBaseFontPointSize = 13;
int reducedPointSize(int basePointSize);
