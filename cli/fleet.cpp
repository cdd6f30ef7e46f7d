#include "cli/fleet.h"

#include "cli/cli.h"
#include "cli/output.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <memory>
#include <set>
#include <vector>

namespace cli {

namespace {

struct Outcome
{
    QJsonObject report;
    int exitCode = -1;
    bool final = false;
};

// One worker process, the printer it is checking (-1: none) and those it
// checked and holds for the second phase.
struct Worker
{
    std::unique_ptr<QProcess> process;
    qsizetype current = -1;
    std::set<qsizetype> held;
    QByteArray pending;  // output short of a whole line
};

int precedence(const std::vector<Outcome> &results)
{
    bool failed = false, mismatch = false;
    for (const Outcome &r : results) {
        if (r.exitCode == Refused)
            return Refused;
        failed = failed || (r.exitCode != Success && r.exitCode != Mismatch);
        mismatch = mismatch || r.exitCode == Mismatch;
    }
    return failed ? PrinterFailed : mismatch ? Mismatch : Success;
}

} // namespace

int runFleet(const Fleet &fleet, QTextStream &out, QTextStream &err)
{
    const qsizetype total = fleet.printers.size();
    std::vector<Outcome> results{size_t(total)};
    std::vector<std::unique_ptr<Worker>> workers;
    QEventLoop loop;
    qsizetype next = 0;
    qsizetype checked = 0;   // printers through the first phase
    qsizetype done = 0;      // printers with their final result
    bool applying = false;

    const auto finish = [&](qsizetype index, QJsonObject report, int exitCode) {
        Outcome &r = results[size_t(index)];
        if (r.final)
            return;
        report.insert(QStringLiteral("printer"), fleet.printers.at(index));
        for (const char *internal : {"exit", "index", "final"})
            report.remove(QLatin1String(internal));
        r = {report, exitCode, true};
        ++done;
        if (fleet.progress)
            err << QStringLiteral("[%1/%2] %3: %4\n").arg(done).arg(total).arg(fleet.printers.at(index), summary(report))
                << Qt::flush;
        if (done == total)
            loop.quit();
    };
    // Every printer checked: send, or, when the profile was refused for
    // any of them, send nothing anywhere.
    const auto phaseTwo = [&] {
        qsizetype refusedAt = -1;
        for (qsizetype i = 0; i < total && refusedAt < 0; ++i) {
            if (results[size_t(i)].final && results[size_t(i)].exitCode == Refused)
                refusedAt = i;
        }
        applying = true;
        for (const auto &w : workers) {
            if (refusedAt < 0 && !w->held.empty())
                w->process->write("apply\n");
            w->process->closeWriteChannel();
            if (refusedAt < 0)
                continue;
            for (const qsizetype index : std::set<qsizetype>(w->held)) {
                QJsonObject report = results[size_t(index)].report;
                report.insert(QStringLiteral("ok"), false);
                report.insert(QStringLiteral("error"), QStringLiteral("nothing was sent: the profile was refused for %1")
                                                           .arg(fleet.printers.at(refusedAt)));
                finish(index, report, Refused);
            }
            w->held.clear();
        }
    };
    const auto checkedOne = [&] {
        if (++checked == total && done < total)
            phaseTwo();
    };
    // Hands the worker the next printer to check; nothing more to check
    // leaves its input open for the second phase.
    const auto feed = [&](Worker &w) {
        w.current = -1;
        if (next < total) {
            w.current = next++;
            w.process->write(QStringLiteral("check %1 %2\n").arg(w.current).arg(fleet.printers.at(w.current)).toUtf8());
        } else if (applying) {
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
                const qsizetype index = report.value(QLatin1String("index")).toInt(-1);
                if (index < 0 || index >= total)
                    continue;
                const int exit = report.value(QLatin1String("exit")).toInt(PrinterFailed);
                if (index == w->current) {
                    // The first phase's answer for this printer.
                    if (report.value(QLatin1String("final")).toBool(true)) {
                        finish(index, report, exit);
                    } else {
                        results[size_t(index)].report = report;
                        w->held.insert(index);
                    }
                    feed(*w);
                    checkedOne();
                } else if (w->held.erase(index) > 0) {
                    finish(index, report, exit);
                }
            }
        });
        // A worker that ends early (crashed, could not start) fails the
        // printers it had; the rest of the queue goes to a new worker.
        const auto ended = [&, w] {
            const qsizetype current = w->current;
            w->current = -1;
            for (const qsizetype index : std::set<qsizetype>(w->held)) {
                finish(index,
                       {{QStringLiteral("ok"), false},
                        {QStringLiteral("error"), QStringLiteral("the run for this printer ended without a result")}},
                       PrinterFailed);
            }
            w->held.clear();
            if (current < 0)
                return;
            finish(current,
                   {{QStringLiteral("ok"), false},
                    {QStringLiteral("error"), QStringLiteral("the run for this printer ended without a result")}},
                   PrinterFailed);
            if (next < total)
                QMetaObject::invokeMethod(&loop, startWorker, Qt::QueuedConnection);
            checkedOne();
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
    for (const auto &w : workers) {
        w->process->closeWriteChannel();
        w->process->waitForFinished(5000);
    }

    int succeeded = 0;
    for (const Outcome &r : results) {
        if (r.exitCode == Success)
            ++succeeded;
        if (fleet.json) {
            printJson(out, r.report);
            continue;
        }
        out << terminalText(r.report.value(QLatin1String("printer")).toString()) << ": " << summary(r.report) << '\n';
        // What the printer's own run would have said, under its name (the
        // error is in the line above).
        QJsonObject details = r.report;
        details.remove(QStringLiteral("error"));
        const ReportText text = reportText(details, false);
        for (const QString &line : text.out + text.err)
            out << "  " << line << '\n';
    }
    if (!fleet.json)
        out << succeeded << " of " << total << " printers succeeded\n";
    return precedence(results);
}

} // namespace cli
