// labelsetup-cli: the setting tool without a window, for people who set up
// many printers. Reads and writes the same settings as the window's pages
// (through the settings catalogue), runs the function buttons, downloads
// firmware and fonts, and applies settings profiles to one printer or to
// many at once.
#pragma once

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

namespace cli {

// Exit codes, as --help documents them. With several printers the run
// exits with the first of 3, 1, 4 that any printer gave, else 0.
enum Exit : int {
    Success = 0,
    PrinterFailed = 1,  // a printer did not answer, a read or an exchange failed
    Usage = 2,          // unknown command or option, bad printer address
    Refused = 3,        // a value, key or profile refused: nothing was sent
    Mismatch = 4,       // a value read back is not the one sent
};

struct Streams
{
    QTextStream &out;
    QTextStream &err;
    bool progress = false;     // stderr is a terminal: show progress there
    QIODevice *in = nullptr;   // where KEY=- reads secrets (standard input)
    bool inTerminal = false;   // `in` is a terminal: read without echo
};

// Runs one command line (without the program name). The program path is
// what several-printer runs start once per printer.
int run(const QStringList &arguments, Streams streams, const QString &programPath);

QString helpText();

} // namespace cli
