// labelsetup-cli: see cli.h and --help.
#include "cli/cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace {

bool verbose = false;

// The transports narrate every exchange for the window's debug output; on
// a terminal that is noise unless asked for.
void messages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if ((type == QtDebugMsg || type == QtInfoMsg) && !verbose)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("labelsetup-cli"));
    QStringList arguments = app.arguments().mid(1);
    verbose = arguments.removeAll(QStringLiteral("--verbose")) > 0;
    qInstallMessageHandler(messages);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    const int code = cli::run(arguments, {out, err, isatty(STDERR_FILENO) == 1, &in, isatty(STDIN_FILENO) == 1},
                              QCoreApplication::applicationFilePath());
    out.flush();
    err.flush();
    return code;
}
