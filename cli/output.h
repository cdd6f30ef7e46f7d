// What labelsetup-cli prints: printer texts made safe for a terminal,
// values for the operator and for --json, results in words, and one
// printer's report (of set, profile diff or profile apply) as text. The
// text is rendered from the same report --json prints, so the two always
// say the same.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

namespace cli {

// A printer's text (model, firmware, names, serial number) for a terminal:
// control characters escaped (ESC as \x1b, a new line as \n), and bytes
// that are not UTF-8 as \xNN, so that no printer can colour the terminal
// or forge a line.
QString terminalText(const QString &text);

QString resultText(int result);

// A value as the operator reads it: secrets by their length only, texts
// escaped for the terminal.
QString shownValue(const settings::Setting &setting, const QString &value);
// A value for --json: secrets {"hidden": true, "length": N}, otherwise
// as profiles carry it (numbers, strings, {"hex": "..."}).
QJsonValue jsonValue(const settings::Setting &setting, const QString &value);

// A printer's text (firmware, model) for --json: a string, or {"hex": "..."}
// when it is not UTF-8.
QJsonValue jsonText(const QString &text);

void printJson(QTextStream &out, const QJsonObject &object);

// One printer's report as lines for standard output and for standard error
// (the latter without the program's name in front). `diff`: the report of
// profile diff ("no difference" rather than "nothing to change").
struct ReportText
{
    QStringList out;
    QStringList err;
};
ReportText reportText(const QJsonObject &report, bool diff);
// One line for a printer of a several-printer run: "ok, changed a, b",
// "ok, nothing changed", "FAILED: why".
QString summary(const QJsonObject &report);

} // namespace cli
