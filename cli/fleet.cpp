#include "cli/fleet.h"

#include "cli/cli.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <memory>
#include <vector>

namespace cli {

namespace {

struct Job
{
    QString printer;
    std::unique_ptr<QProcess> process;
    QJsonObject report;
    int exitCode = -1;
};

QString summary(const Job &job)
{
    const QJsonObject &r = job.report;
    if (r.value(QLatin1String("ok")).toBool()) {
        const QJsonArray changed = r.value(QLatin1String("changed")).toArray();
        QStringList keys;
        for (const QJsonValue &k : changed)
            keys << k.toString();
        return keys.isEmpty() ? QStringLiteral("ok, nothing changed")
                              : QStringLiteral("ok, changed %1").arg(keys.join(QLatin1String(", ")));
    }
    QStringList parts;
    if (r.contains(QLatin1String("error")))
        parts << r.value(QLatin1String("error")).toString();
    for (const QJsonValue &m : r.value(QLatin1String("mismatches")).toArray())
        parts << QStringLiteral("%1 does not hold").arg(m.toObject().value(QLatin1String("key")).toString());
    return QStringLiteral("FAILED: %1").arg(parts.isEmpty() ? QStringLiteral("no result") : parts.join(QLatin1String("; ")));
}

} // namespace

int runFleet(const Fleet &fleet, QTextStream &out, QTextStream &err)
{
    std::vector<Job> jobs(size_t(fleet.printers.size()));
    QEventLoop loop;
    qsizetype next = 0;
    int running = 0;
    int finished = 0;
    std::function<void()> startMore = [&] {
        while (running < fleet.jobs && next < fleet.printers.size()) {
            Job &job = jobs[size_t(next)];
            job.printer = fleet.printers.at(next++);
            job.process = std::make_unique<QProcess>();
            job.process->setProcessChannelMode(QProcess::SeparateChannels);
            job.process->setStandardErrorFile(QProcess::nullDevice());
            QObject::connect(job.process.get(), &QProcess::finished, &loop, [&, p = &job](int code, QProcess::ExitStatus status) {
                // The child's last line is its JSON result.
                const QList<QByteArray> lines = p->process->readAllStandardOutput().trimmed().split('\n');
                p->report = QJsonDocument::fromJson(lines.last()).object();
                p->exitCode = status == QProcess::NormalExit ? code : int(PrinterFailed);
                if (p->report.isEmpty())
                    p->report = {{QStringLiteral("ok"), false},
                                 {QStringLiteral("error"), QStringLiteral("the run for this printer ended without a result")}};
                p->report.insert(QStringLiteral("printer"), p->printer);
                --running;
                ++finished;
                if (fleet.progress)
                    err << QStringLiteral("[%1/%2] %3: %4\n").arg(finished).arg(jobs.size()).arg(p->printer, summary(*p))
                        << Qt::flush;
                startMore();
                if (finished == int(jobs.size()))
                    loop.quit();
            });
            QObject::connect(job.process.get(), &QProcess::errorOccurred, &loop,
                             [&, p = &job](QProcess::ProcessError error) {
                                 if (error != QProcess::FailedToStart)
                                     return;
                                 p->report = {{QStringLiteral("ok"), false},
                                              {QStringLiteral("printer"), p->printer},
                                              {QStringLiteral("error"), p->process->errorString()}};
                                 p->exitCode = PrinterFailed;
                                 --running;
                                 ++finished;
                                 startMore();
                                 if (finished == int(jobs.size()))
                                     loop.quit();
                             });
            ++running;
            job.process->start(fleet.program, QStringList{QStringLiteral("--json"), QStringLiteral("profile"),
                                                          QStringLiteral("apply"), job.printer, fleet.profilePath}
                                                  + fleet.flags);
        }
    };
    startMore();
    if (finished < int(jobs.size()))
        loop.exec();

    int exit = Success;
    int succeeded = 0;
    for (const Job &job : jobs) {
        if (fleet.json)
            out << QJsonDocument(job.report).toJson(QJsonDocument::Compact) << '\n';
        else
            out << job.printer << ": " << summary(job) << '\n';
        if (job.exitCode == Success)
            ++succeeded;
        else if (exit == Success)
            exit = job.exitCode;
    }
    if (!fleet.json)
        out << succeeded << " of " << jobs.size() << " printers succeeded\n";
    return exit;
}

} // namespace cli
