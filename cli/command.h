// The commands of labelsetup-cli, one member each, defined by group:
// listing.cpp (list, keys), read_set.cpp (info, status, get, set, run),
// profiles.cpp (export, diff, apply and the worker of several-printer
// runs), transfers.cpp (download, send). cli.cpp reads the options and
// dispatches; output.cpp says what is printed.
#pragma once

#include "cli/cli.h"
#include "protocol/settings_profile.h"
#include "query/printer_session.h"

#include <QJsonObject>
#include <QMap>
#include <optional>

namespace cli {

struct Options
{
    bool json = false;
    bool dryRun = false;
    bool verify = false;
    bool all = false;
    bool restart = false;
    int restartWaitS = 60;
    bool worker = false;     // one process of a several-printer run (see fleet.h)
    bool includeSecrets = false;
    bool includeIdentity = false;
    int jobs = 1;
    int udpPort = 38400;
    QString udp;
    QString firmware;
    QString font;
    QString printersFile;
    QStringList positional;
};

// What one printer is to receive, decided (read and checked) before
// anything is sent: the values as this model takes them, what the printer
// holds, and the instructions to send.
struct Plan
{
    QString modelName;
    settings::Model model;
    settings::Values values;
    QList<std::pair<SetInfoType, settings::Values>> instructions;
    bool printPage = false;     // ends with the print page's "settings done"
    bool needsRestart = false;  // sends settings that take effect after a restart
};

class Command
{
public:
    Command(const Options &options, Streams streams, const QString &program)
        : o(options), out(streams.out), err(streams.err), in(streams.in), inTerminal(streams.inTerminal),
          progress(streams.progress), m_program(program)
    {
    }

    int dispatch();

private:
    // A failure before any report exists: the error in words (stderr), or
    // one JSON document with it.
    int fail(int code, const QString &message, QJsonObject report = {});
    bool openPrinter(const QString &text, int *exitCode, QJsonObject *report = nullptr);
    // Commands the window does not offer on a firmware-only model.
    bool refuseFirmwareOnly(int *exitCode, const QString &what);

    // listing.cpp
    int list();
    int keys();
    // read_set.cpp
    int info();
    int status();
    int get();
    int set();
    int runFunction();
    std::optional<QStringList> secretInputs(const QStringList &pairs, QString *error);
    QStringList readableKeys(const QStringList &selection, QString *error) const;
    // transfers.cpp
    int download();
    int send();
    // profiles.cpp
    int profileCommand();
    int profileExport(const QString &file);
    int profileDiff(const QString &file);
    int profileApply(const QStringList &printers, const QString &file);
    int worker(const profile::Profile &wanted);
    int plan(const profile::Profile &wanted, bool includeIdentity, Plan &plan, QJsonObject &report);
    int execute(const Plan &plan, QJsonObject &report);
    int readBack(const Plan &plan, QJsonObject &report);
    void printReport(const QJsonObject &report, bool diff);

    const Options &o;
    QTextStream &out;
    QTextStream &err;
    QIODevice *in;
    bool inTerminal;
    bool progress;
    QString m_program;
    PrinterSession session;
};

} // namespace cli
