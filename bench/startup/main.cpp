// Start-up time: from starting the process to its main window's first
// paint, for the tool and for a bare main window showing the same text,
// alternated over several runs; prints each one's median and the ratio.
// Offscreen, with no D-Bus bus reachable, so that neither a display server
// nor a desktop session's services take part.
//   bench_startup [runs]      (9 by default)
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double startMs(const QString &program)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const auto started = std::chrono::steady_clock::now().time_since_epoch();
    child.start(program, {});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        std::fprintf(stderr, "%s did not show its window\n", qPrintable(program));
        return -1;
    }
    const long long shown = child.readAllStandardOutput().trimmed().toLongLong();
    return double(shown - std::chrono::duration_cast<std::chrono::nanoseconds>(started).count()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const QString here = QCoreApplication::applicationDirPath();
    const QString tool = QDir(here).filePath(QStringLiteral("bench_startup_window"));
    const QString bare = QDir(here).filePath(QStringLiteral("bench_startup_bare"));
    // One unmeasured start of each fills the page cache.
    startMs(tool);
    startMs(bare);
    std::vector<double> toolMs, bareMs;
    for (int i = 0; i < runs; ++i) {
        toolMs.push_back(startMs(tool));
        bareMs.push_back(startMs(bare));
        if (toolMs.back() < 0 || bareMs.back() < 0)
            return 1;
    }
    const double t = median(toolMs), b = median(bareMs);
    std::printf("start to main window shown, median of %d: tool %.1f ms, bare window %.1f ms, ratio %.2f\n",
                runs, t, b, t / b);
    return 0;
}
