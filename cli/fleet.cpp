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

struct Outcome
{
    QJsonObject report;
    int exitCode = -1;
};

QString summary(const QJsonObject &r)
{
    if (r.value(QLatin1String("ok")).toBool()) {
        QStringList keys;
        for (const QJsonValue &k : r.value(QLatin1String("changed")).toArray())
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

// One worker process and the printer it is working on (-1: none).
struct Worker
{
    std::unique_ptr<QProcess> process;
    qsizetype current = -1;
    QByteArray pending;  // output short of a whole line
};

} // namespace

int runFleet(const Fleet &fleet, QTextStream &out, QTextStream &err)
{
    const qsizetype total = fleet.printers.size();
    std::vector<Outcome> results{size_t(total)};
    std::vector<std::unique_ptr<Worker>> workers;
    QEventLoop loop;
    qsizetype next = 0;
    qsizetype done = 0;

    const auto finish = [&](qsizetype index, const QJsonObject &report, int exitCode) {
        Outcome &r = results[size_t(index)];
        r.report = report;
        r.report.insert(QStringLiteral("printer"), fleet.printers.at(index));
        r.report.remove(QStringLiteral("exit"));
        r.exitCode = exitCode;
        ++done;
        if (fleet.progress)
            err << QStringLiteral("[%1/%2] %3: %4\n").arg(done).arg(total).arg(fleet.printers.at(index), summary(r.report))
                << Qt::flush;
        if (done == total)
            loop.quit();
    };
    // Hands the worker the next printer, or ends its input when none is left.
    const auto feed = [&](Worker &w) {
        if (next < total) {
            w.current = next++;
            w.process->write(fleet.printers.at(w.current).toUtf8() + '\n');
        } else {
            w.current = -1;
            w.process->closeWriteChannel();
        }
    };
    std::function<void()> startWorker = [&] {
        auto worker = std::make_unique<Worker>();
        Worker *w = worker.get();
        w->process = std::make_unique<QProcess>();
        w->process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(w->process.get(), &QProcess::readyReadStandardOutput, &loop, [&, w] {
            w->pending += w->process->readAllStandardOutput();
            for (qsizetype end = w->pending.indexOf('\n'); end >= 0; end = w->pending.indexOf('\n')) {
                const QJsonObject report = QJsonDocument::fromJson(w->pending.left(end)).object();
                w->pending.remove(0, end + 1);
                if (w->current < 0)
                    continue;
                const qsizetype index = w->current;
                feed(*w);
                finish(index, report, report.value(QLatin1String("exit")).toInt(PrinterFailed));
            }
        });
        // A worker that ends early (crashed, could not start) fails the
        // printer it had; the rest go to a new worker.
        const auto ended = [&, w] {
            if (w->current < 0)
                return;
            const qsizetype index = w->current;
            w->current = -1;
            finish(index,
                   {{QStringLiteral("ok"), false},
                    {QStringLiteral("error"), QStringLiteral("the run for this printer ended without a result")}},
                   PrinterFailed);
            if (next < total)
                QMetaObject::invokeMethod(&loop, startWorker, Qt::QueuedConnection);
        };
        QObject::connect(w->process.get(), &QProcess::finished, &loop, ended);
        QObject::connect(w->process.get(), &QProcess::errorOccurred, &loop, [ended](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                ended();
        });
        w->process->start(fleet.program, QStringList{QStringLiteral("--worker"), QStringLiteral("profile"),
                                                     QStringLiteral("apply"), fleet.profilePath}
                                             + fleet.flags);
        feed(*w);
        workers.push_back(std::move(worker));
    };
    for (int i = 0; i < fleet.jobs && next < total; ++i)
        startWorker();
    if (done < total)
        loop.exec();
    for (const auto &w : workers)
        w->process->waitForFinished(5000);

    int exit = Success;
    int succeeded = 0;
    for (const Outcome &r : results) {
        if (fleet.json)
            out << QJsonDocument(r.report).toJson(QJsonDocument::Compact) << '\n';
        else
            out << r.report.value(QLatin1String("printer")).toString() << ": " << summary(r.report) << '\n';
        if (r.exitCode == Success)
            ++succeeded;
        else if (exit == Success)
            exit = r.exitCode;
    }
    if (!fleet.json)
        out << succeeded << " of " << total << " printers succeeded\n";
    return exit;
}

} // namespace cli
