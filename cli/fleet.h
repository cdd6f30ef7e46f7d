// Applying one profile to many printers. The transports keep process-wide
// state, so printers are worked on at once only in separate processes:
// up to `jobs` worker processes of this program, each taking one printer
// at a time from a shared queue (a process start costs more than a
// printer's exchange). One printer failing never stops the others.
//
// Two phases keep the promise of exit status 3 ("nothing was sent"): first
// every printer is opened, read and checked against its own model (the
// workers keep what each is to receive), and only when every printer has
// been checked and none refused the profile do the workers send. A
// printer that cannot be reached in the first phase fails alone.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace cli {

struct Fleet
{
    QStringList printers;  // distinct
    QString profilePath;
    QStringList flags;     // passed on: --dry-run, --verify, --all, --restart, ...
    QString program;
    int jobs = 1;
    bool json = false;
    bool progress = false; // a line on stderr as each printer finishes
};

// One result per printer, in the order they were named: a JSON line each
// with --json, otherwise the printer's name with its outcome, what changed
// (with --dry-run the frames) under it, and a summary. The exit status: 3
// when the profile was refused for any printer, else 1 when any printer
// failed, else 4 when any value did not hold, else 0.
int runFleet(const Fleet &fleet, QTextStream &out, QTextStream &err);

} // namespace cli
