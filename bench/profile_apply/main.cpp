// Wall time of applying one profile that changes the print page: to one
// emulated printer, and to twenty with --jobs 10 (one process per printer,
// ten at a time). With ten at once the ideal is twice the time of one
// printer; the aim is to stay within 2.5 times.
//
// Run by hand: bench_profile_apply [runs]. The printers listen on loopback
// ports of their own and are reset between runs, so every run changes the
// same values.
#include "tools/emulator/net/net_faces.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kPrinters = 20;

double applyMs(const QStringList &printers, const QString &profile, const QStringList &extra)
{
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral(LPS_CLI), QStringList{QStringLiteral("profile"), QStringLiteral("apply")} + printers
                                           + QStringList{profile} + extra);
    if (!cli.waitForFinished(300000) || cli.exitCode() != 0) {
        std::fprintf(stderr, "apply failed: %s\n", cli.readAllStandardError().constData());
        std::exit(1);
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<std::unique_ptr<emu::NetPrinter>> printers;
    QStringList names;
    for (int i = 0; i < kPrinters; ++i) {
        printers.push_back(std::make_unique<emu::NetPrinter>());
        if (!printers.back()->start({.tcpPort = 0}))
            return 1;
        names << QStringLiteral("tcp:127.0.0.1:%1").arg(printers.back()->tcpPort());
    }
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("print.json"));
    QFile file(profile);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"format":"labelsetup-profile","version":1,"settings":{
        "print.speed":5,"print.density":12,"print.label_gap_mm":4,"print.paper_type":"black-mark",
        "print.label_height_mm":40.0,"print.label_width_mm":60.0,"print.offset_mm":1}})");
    file.close();

    std::vector<double> one, twenty;
    for (int run = 0; run < runs; ++run) {
        for (auto &p : printers)
            p->model().resetToDefaults();
        one.push_back(applyMs({names.first()}, profile, {}));
        for (auto &p : printers)
            p->model().resetToDefaults();
        twenty.push_back(applyMs(names, profile, {QStringLiteral("--jobs"), QStringLiteral("10")}));
    }
    const double a = median(one), b = median(twenty);
    std::printf("one printer:          %.0f ms (median of %d)\n", a, runs);
    std::printf("20 printers, 10 jobs: %.0f ms (median of %d)\n", b, runs);
    std::printf("ratio: %.2f x (ideal 2, aim at most 2.5)\n", b / a);
    return 0;
}
