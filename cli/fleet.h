// Applying one profile to many printers. The transports keep process-wide
// state, so printers are worked on at once only in separate processes:
// up to `jobs` worker processes of this program, each taking one printer
// at a time from a shared queue (a process start costs more than a
// printer's exchange). One printer failing never stops the others.
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
