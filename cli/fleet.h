// Applying one profile to many printers. The transports keep process-wide
// state, so each printer gets a process of its own (this program, run for
// that printer with --json); up to `jobs` of them run at once, and one
// printer failing never stops the others.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

struct Fleet
{
    QStringList printers;
    QString profilePath;
    QStringList flags;     // passed on: --dry-run, --verify, --all, --restart
    QString program;
    int jobs = 1;
    bool json = false;
    bool progress = false; // a line on stderr as each printer finishes
};

// One result per printer, in the order they were named: a JSON line each
// with --json, otherwise one line of text each and a summary. The exit
// status of the first printer that did not succeed, 0 when all did.
int runFleet(const Fleet &fleet, QTextStream &out, QTextStream &err);

} // namespace cli
