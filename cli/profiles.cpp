// Profiles: export, diff and apply, to one printer here and to several
// through fleet.h. Applying is two steps. plan() reads the printer and
// decides, without sending anything, what it is to receive (every value
// checked against its model, every instruction built); execute() sends
// that, restarts the printer if asked and reads the values back. With
// several printers every printer is planned before any is sent anything.
#include "cli/command.h"
#include "cli/fleet.h"
#include "cli/output.h"
#include "protocol/frame.h"
#include "protocol/result.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>
#include <vector>

namespace cli {

namespace {

// FILE "-" is standard input: a program that drives this tool (the Ansible
// modules) hands over a profile with passwords in it without a file.
std::optional<profile::Profile> loadProfile(const QString &path, QIODevice *in, QString *error)
{
    QFile file(path);
    const bool standardInput = path == QLatin1String("-");
    if (!standardInput && !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray json = standardInput ? (in ? in->readAll() : QByteArray()) : file.readAll();
    const profile::Loaded loaded = profile::fromJson(json, standardInput ? QStringLiteral("standard input") : path);
    if (!loaded.ok()) {
        *error = loaded.error;
        return std::nullopt;
    }
    return loaded.profile;
}

// The frame as hex, with everything after the head left out when the
// instruction carries a secret.
QString frameText(SetInfoType code, const QByteArray &frame)
{
    for (const settings::Setting &s : settings::catalogue()) {
        if (s.code == code && s.secret)
            return QString::fromLatin1(frame.left(6).toHex(' ').toUpper())
                   + QStringLiteral(" ... (%1 bytes, holds a secret)").arg(frame.size());
    }
    return QString::fromLatin1(frame.toHex(' ').toUpper());
}

// Why a key of a profile is not applied to this model, as the window
// would not show it.
QString notOnModel(const settings::Setting &s, const settings::Model &model, const QString &modelName)
{
    if (model.firmwareOnly)
        return QStringLiteral("%1 takes firmware only").arg(modelName);
    if (!settings::pageShown(s.page, model))
        return QStringLiteral("%1 has no %2").arg(modelName, s.page);
    return QStringLiteral("not on %1").arg(modelName);
}

QString pageOf(SetInfoType code)
{
    for (const settings::Setting &s : settings::catalogue()) {
        if (s.code == code)
            return s.page;
    }
    return {};
}

} // namespace

void Command::printReport(const QJsonObject &report, bool diff)
{
    if (o.json) {
        printJson(out, report);
        return;
    }
    const ReportText text = reportText(report, diff);
    for (const QString &line : text.out)
        out << line << '\n';
    for (const QString &line : text.err)
        err << "labelsetup-cli: " << line << '\n';
}

int Command::plan(const profile::Profile &wanted, bool includeIdentity, Plan &plan, QJsonObject &report)
{
    plan.model = session.model();
    plan.modelName = session.modelName();
    report.insert(QStringLiteral("model"), plan.modelName);
    report.insert(QStringLiteral("dry_run"), o.dryRun);
    const auto refuse = [&](int code, const QString &error) {
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), error);
        return code;
    };

    QJsonArray skipped;
    for (auto it = wanted.values.begin(); it != wanted.values.end(); ++it) {
        const settings::Setting *s = settings::find(it.key());
        if (!s)
            continue;
        QString why;
        if (s->identity && !includeIdentity)
            why = QStringLiteral("belongs to one printer (applied with --include-identity only)");
        else if (!settings::appliesTo(*s, plan.model))
            why = notOnModel(*s, plan.model, plan.modelName);
        if (!why.isEmpty()) {
            skipped << QJsonObject{{QStringLiteral("key"), s->key}, {QStringLiteral("reason"), why}};
            continue;
        }
        // This model's own ranges, and its dots: a length compares with
        // what the printer holds as the dots it would be sent as.
        const settings::Checked checked = settings::check(*s, it.value(), plan.model);
        if (!checked.ok())
            return refuse(Refused, checked.error);
        plan.values.insert(s->key, checked.value);
    }
    report.insert(QStringLiteral("skipped"), skipped);

    // Every value of every instruction the profile touches must be read:
    // a change is only known against what the printer holds, and an
    // instruction carries its other values as they are.
    settings::Values current;
    QMap<QString, int> failed;
    session.read(plan.values.keys(), current, &failed);
    QJsonObject unread;
    for (const SetInfoType code : settings::instructionsFor(plan.values.keys(), plan.model)) {
        for (const QString &key : settings::keysOf(code, plan.model)) {
            if (!current.contains(key))
                unread.insert(key, failed.contains(key) ? resultText(failed.value(key))
                                                        : QStringLiteral("the printer's value is not one this tool knows"));
        }
    }
    if (!unread.isEmpty()) {
        report.insert(QStringLiteral("unread"), unread);
        return refuse(PrinterFailed, QStringLiteral("nothing was sent: %1 could not be read").arg(unread.keys().join(QLatin1String(", "))));
    }

    const QList<profile::Change> changes = profile::diff(current, plan.values, plan.model);
    QStringList changedKeys;
    QJsonArray changeList;
    for (const profile::Change &c : changes) {
        const settings::Setting &s = *settings::find(c.key);
        changedKeys << c.key;
        changeList << QJsonObject{{QStringLiteral("key"), c.key},
                                  {QStringLiteral("old"), jsonValue(s, c.before)},
                                  {QStringLiteral("new"), jsonValue(s, c.after)}};
    }
    report.insert(QStringLiteral("changes"), changeList);
    report.insert(QStringLiteral("changed"), QJsonArray::fromStringList(changedKeys));

    // Every frame is built and checked before the first one goes out.
    for (const SetInfoType code : settings::instructionsFor(o.all ? plan.values.keys() : changedKeys, plan.model)) {
        settings::Values merged;
        for (const QString &key : settings::keysOf(code, plan.model))
            merged.insert(key, plan.values.contains(key) ? plan.values.value(key) : current.value(key));
        if (const QString refusal = settings::checkInstruction(code, merged, plan.model); !refusal.isEmpty())
            return refuse(Refused, refusal);
        plan.instructions.append({code, merged});
        plan.printPage = plan.printPage || settings::needsPrintDone(code);
        plan.needsRestart = plan.needsRestart || settings::needsRestart(pageOf(code));
    }
    return Success;
}

int Command::execute(const Plan &plan, QJsonObject &report)
{
    const auto failed = [&](int code, const QString &error) {
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), error);
        return code;
    };
    if (o.dryRun) {
        QJsonArray frames;
        for (const auto &[code, merged] : plan.instructions)
            frames << frameText(code, settings::frame(code, merged, plan.model));
        if (plan.printPage)
            frames << QString::fromLatin1(proto::functionFrame(PRINT_SETTINGS_DONE).toHex(' ').toUpper());
        report.insert(QStringLiteral("frames"), frames);
        report.insert(QStringLiteral("restart_needed"), plan.needsRestart);
        report.insert(QStringLiteral("ok"), true);
        return Success;
    }

    int result = Result::Ok;
    for (const auto &[code, merged] : plan.instructions) {
        const int sent = session.send(code, merged);
        if (result == Result::Ok)
            result = sent;
    }
    if (plan.printPage) {
        if (const int done = session.printSettingsDone(); result == Result::Ok)
            result = done;
    }
    if (result != Result::Ok)
        return failed(PrinterFailed, resultText(result));

    report.insert(QStringLiteral("restart_needed"), plan.needsRestart && !o.restart);
    if (o.restart) {
        QElapsedTimer clock;
        clock.start();
        if (const int sent = session.function(REBOOT); sent != Result::Ok)
            return failed(PrinterFailed, QStringLiteral("the restart frame could not be sent: %1").arg(resultText(sent)));
        // The printer drops the link while it restarts; it is back when it
        // answers its identity query again.
        const int waitMs = o.restartWaitS * 1000;
        session.pause(std::min(1000, waitMs));
        if (!session.waitUntilBack(int(std::max<qint64>(0, waitMs - clock.elapsed())))) {
            const QString printer = report.value(QLatin1String("printer")).toString();
            return failed(PrinterFailed, QStringLiteral("%1 did not answer again after its restart (waited %2 s, "
                                                        "--restart-wait %3)")
                                             .arg(printer, QString::number(std::lround(clock.elapsed() / 1000.0)))
                                             .arg(o.restartWaitS));
        }
        report.insert(QStringLiteral("restarted"), true);
    }
    // What does not survive a restart is what operators fear most: after
    // one, every value is read back.
    if (o.verify || o.restart)
        return readBack(plan, report);
    report.insert(QStringLiteral("ok"), true);
    return Success;
}

int Command::readBack(const Plan &plan, QJsonObject &report)
{
    settings::Values after;
    QMap<QString, int> failed;
    session.read(plan.values.keys(), after, &failed);
    QJsonArray mismatches;
    QJsonObject unread;
    for (auto it = plan.values.begin(); it != plan.values.end(); ++it) {
        const settings::Setting &s = *settings::find(it.key());
        if (!after.contains(it.key())) {
            unread.insert(it.key(), failed.contains(it.key()) ? resultText(failed.value(it.key()))
                                                              : QStringLiteral("the printer's value is not one this tool knows"));
        } else if (after.value(it.key()) != it.value()) {
            mismatches << QJsonObject{{QStringLiteral("key"), it.key()},
                                      {QStringLiteral("expected"), jsonValue(s, it.value())},
                                      {QStringLiteral("actual"), jsonValue(s, after.value(it.key()))}};
        }
    }
    report.insert(QStringLiteral("mismatches"), mismatches);
    report.insert(QStringLiteral("values"), int(plan.values.size()));
    if (!unread.isEmpty()) {
        report.insert(QStringLiteral("unread"), unread);
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), QStringLiteral("could not read back %1").arg(unread.keys().join(QLatin1String(", "))));
        return PrinterFailed;
    }
    report.insert(QStringLiteral("ok"), mismatches.isEmpty());
    report.insert(QStringLiteral("verified"), mismatches.isEmpty());
    return mismatches.isEmpty() ? Success : Mismatch;
}

int Command::profileCommand()
{
    const QStringList &p = o.positional;
    const QString sub = p.value(1);
    if (sub == QLatin1String("export") && p.size() == 4)
        return profileExport(p[3]);
    if (sub == QLatin1String("diff") && p.size() == 4)
        return profileDiff(p[3]);
    if (sub == QLatin1String("apply") && (p.size() >= 4 || (p.size() == 3 && (o.worker || !o.printersFile.isEmpty()))))
        return profileApply(p.mid(2, p.size() - 3), p.last());
    return fail(Usage, QStringLiteral("profile: write profile export|diff PRINTER FILE or profile apply PRINTER... FILE"));
}

int Command::profileExport(const QString &path)
{
    // The tool never replaces a file it did not make.
    if (QFileInfo::exists(path))
        return fail(Refused, QStringLiteral("%1 already exists; choose a new file name").arg(path));
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[2], &code, &report) || refuseFirmwareOnly(&code, QStringLiteral("settings")))
        return code;
    const profile::Selection selection{o.includeSecrets, o.includeIdentity};
    QStringList keys;
    for (const settings::Setting *s : settings::settingsOf(QString(), session.model())) {
        if (profile::selected(*s, selection))
            keys << s->key;
    }
    profile::Profile exported{session.modelName(), session.model().mmToDot, {}};
    settings::Values read;
    QMap<QString, int> failed;
    session.read(keys, read, &failed);
    // A query brings every value of its instruction: keep the chosen ones.
    QJsonObject unread;
    for (const QString &key : std::as_const(keys)) {
        if (read.contains(key))
            exported.values.insert(key, read.value(key));
        else
            unread.insert(key, failed.contains(key) ? resultText(failed.value(key))
                                                    : QStringLiteral("the printer's value is not one this tool knows"));
    }
    report.insert(QStringLiteral("file"), path);
    if (!unread.isEmpty()) {
        report.insert(QStringLiteral("unread"), unread);
        return fail(PrinterFailed,
                    QStringLiteral("%1: nothing was written: %2 could not be read")
                        .arg(o.positional[2], unread.keys().join(QLatin1String(", "))),
                    report);
    }
    // With secrets in it the file is readable by its owner only, from the
    // moment it exists; NewOnly never opens a file someone else put there.
    QFile file(path);
    const QFileDevice::Permissions permissions =
        o.includeSecrets ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
        return fail(Refused, QStringLiteral("%1: %2").arg(path, file.errorString()), report);
    const QByteArray json = profile::toJson(exported);
    if (file.write(json) != json.size() || !file.flush()) {
        const QString why = file.errorString();
        file.close();
        file.remove();
        return fail(Refused, QStringLiteral("%1: %2").arg(path, why), report);
    }
    file.close();
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        report.insert(QStringLiteral("keys"), int(exported.values.size()));
        report.insert(QStringLiteral("secrets"), o.includeSecrets);
        report.insert(QStringLiteral("identity"), o.includeIdentity);
        printJson(out, report);
    } else {
        out << "wrote " << exported.values.size() << " settings to " << path << '\n';
    }
    return Success;
}

int Command::profileDiff(const QString &path)
{
    QString error;
    const std::optional<profile::Profile> wanted = loadProfile(path, in, &error);
    if (!wanted)
        return fail(Refused, error);
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[2], &code, &report))
        return code;
    Plan planned;
    const int exit = plan(*wanted, o.includeIdentity, planned, report);
    report.remove(QStringLiteral("dry_run"));
    if (exit == Success)
        report.insert(QStringLiteral("ok"), true);
    printReport(report, true);
    return exit;
}

int Command::profileApply(const QStringList &named, const QString &path)
{
    QStringList printers = named;
    if (!o.printersFile.isEmpty()) {
        QFile list(o.printersFile);
        if (!list.open(QIODevice::ReadOnly))
            return fail(Usage, QStringLiteral("%1: %2").arg(o.printersFile, list.errorString()));
        for (const QByteArray &line : list.readAll().split('\n')) {
            const QString entry = QString::fromUtf8(line).trimmed();
            if (!entry.isEmpty() && !entry.startsWith(QLatin1Char('#')))
                printers << entry;
        }
    }
    if (printers.isEmpty() && !o.worker)
        return fail(Usage, QStringLiteral("profile apply: no printer given"));
    // One printer, however often and however it is named, is worked on once.
    QStringList distinct;
    QMap<QString, QString> seen;
    for (const QString &printer : std::as_const(printers)) {
        QString error;
        const std::optional<PrinterAddress> address = parsePrinterAddress(printer, &error);
        if (!address)
            return fail(Usage, error);
        if (seen.contains(address->canonical())) {
            err << "labelsetup-cli: note: " << printer << " is the same printer as " << seen.value(address->canonical())
                << "; it is worked on once\n";
            continue;
        }
        seen.insert(address->canonical(), printer);
        distinct << printer;
    }
    // Standard input holds one profile for one printer: a several-printer
    // run hands its file name to a worker per printer.
    if (path == QLatin1String("-") && (distinct.size() > 1 || o.worker))
        return fail(Usage, QStringLiteral("profile apply: a profile from standard input (-) goes to one printer"));
    // The whole file is checked before any printer is touched.
    QString error;
    const std::optional<profile::Profile> wanted = loadProfile(path, in, &error);
    if (!wanted)
        return fail(Refused, error);
    if (o.includeIdentity && distinct.size() > 1 && profile::holdsStaticAddress(*wanted))
        return fail(Refused, QStringLiteral("%1 holds a static IP address: applying it to %2 printers would give them "
                                            "all the same address")
                                 .arg(path, QString::number(distinct.size())));
    if (o.worker)
        return worker(*wanted);
    if (distinct.size() > 1) {
        QStringList flags;
        for (const auto &[on, flag] : {std::pair{o.dryRun, "--dry-run"}, {o.verify, "--verify"}, {o.all, "--all"},
                                       {o.restart, "--restart"}, {o.includeIdentity, "--include-identity"}}) {
            if (on)
                flags << QString::fromLatin1(flag);
        }
        flags << QStringLiteral("--restart-wait") << QString::number(o.restartWaitS);
        return runFleet({distinct, path, flags, m_program, o.jobs, o.json, progress}, out, err);
    }

    int code = Success;
    QJsonObject report;
    if (!openPrinter(distinct.first(), &code, &report))
        return code;
    Plan planned;
    int exit = plan(*wanted, o.includeIdentity, planned, report);
    if (exit == Success)
        exit = execute(planned, report);
    printReport(report, false);
    return exit;
}

// One process of a several-printer run (see fleet.h). Takes "check INDEX
// PRINTER" lines: opens the printer, plans its profile, closes it and
// answers with the report (final when the check failed or with
// --dry-run). Then "apply": opens each printer it planned again and sends
// its plan, one report line each. A report line carries the printer's
// index and its exit code.
int Command::worker(const profile::Profile &wanted)
{
    struct Held
    {
        int index;
        QString printer;
        PrinterAddress address;
        Plan plan;
        QJsonObject report;
    };
    std::vector<Held> held;
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return Usage;
    const auto answer = [&](int index, QJsonObject report, int exit, bool final) {
        report.insert(QStringLiteral("index"), index);
        report.insert(QStringLiteral("exit"), exit);
        report.insert(QStringLiteral("final"), final);
        out << QJsonDocument(report).toJson(QJsonDocument::Compact) << '\n' << Qt::flush;
    };
    for (QByteArray line = input.readLine(); !line.isEmpty(); line = input.readLine()) {
        const QString command = QString::fromUtf8(line).trimmed();
        if (command == QLatin1String("apply")) {
            for (Held &h : held) {
                QString error;
                int exit = PrinterFailed;
                if (session.open(h.address, &error) != Result::Ok) {
                    h.report.insert(QStringLiteral("ok"), false);
                    h.report.insert(QStringLiteral("error"), error);
                } else if (session.modelName() != h.plan.modelName) {
                    h.report.insert(QStringLiteral("ok"), false);
                    h.report.insert(QStringLiteral("error"), QStringLiteral("the printer answered as %1 after it was checked as %2")
                                                                 .arg(session.modelName(), h.plan.modelName));
                } else {
                    exit = execute(h.plan, h.report);
                }
                session.close();
                answer(h.index, h.report, exit, true);
            }
            held.clear();
            continue;
        }
        const QStringList parts = command.split(QLatin1Char(' '));
        if (parts.size() < 3 || parts.first() != QLatin1String("check"))
            continue;
        const int index = parts.at(1).toInt();
        const QString printer = command.section(QLatin1Char(' '), 2);
        QJsonObject report{{QStringLiteral("printer"), printer}};
        QString error;
        int exit = PrinterFailed;
        const std::optional<PrinterAddress> address = parsePrinterAddress(printer, &error);
        Plan planned;
        if (address && session.open(*address, &error) == Result::Ok) {
            exit = plan(wanted, o.includeIdentity, planned, report);
            if (exit == Success && o.dryRun)
                exit = execute(planned, report);
        } else {
            report.insert(QStringLiteral("ok"), false);
            report.insert(QStringLiteral("error"), error);
        }
        session.close();
        if (exit == Success && !o.dryRun) {
            held.push_back({index, printer, *address, planned, report});
            answer(index, report, exit, false);
        } else {
            answer(index, report, exit, true);
        }
    }
    return Success;
}

} // namespace cli
