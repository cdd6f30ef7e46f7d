#include "provisioning/macos_scanner.h"
#include "provisioning/wifi_list.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QProcess>
#include <optional>

namespace {

// Standard output of a host program, or nothing when it did not finish in
// `waitMs`.
std::optional<QString> run(const QString &program, const QStringList &arguments, int waitMs)
{
    QProcess process;
    process.start(program, arguments, QIODevice::ReadWrite);
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

WifiScan MacWifiScanner::scan()
{
    qDebug() << "\n---------------开始扫描WiFi...";
    QElapsedTimer stopwatch;
    stopwatch.start();
    // A power check that does not answer in time is no reason not to scan.
    const std::optional<QString> power = run(QStringLiteral("networksetup"),
                                             {QStringLiteral("-getairportpower"), QStringLiteral("en0")}, 2000);
    if (power && (power->contains(QLatin1String("Off")) || power->contains(QLatin1String("off")))) {
        qDebug() << "WiFi未开启，无法扫描";
        return {WifiScan::Outcome::WifiOff, {}};
    }
    const std::optional<QString> xml = run(QStringLiteral("system_profiler"),
                                           {QStringLiteral("SPAirPortDataType"), QStringLiteral("-xml")}, 5000);
    if (!xml) {
        qDebug() << "system_profiler 命令执行超时";
        return {};
    }
    if (xml->trimmed().isEmpty()) {
        qDebug() << "system_profiler 返回空结果，可能WiFi未开启或未安装无线网卡";
        return {};
    }
    WifiScan result;
    result.networks = parseSystemProfilerOutput(*xml);
    if (result.networks.isEmpty())
        qDebug() << "未扫描到任何WiFi网络";
    else
        qDebug().nospace() << "WiFi扫描完成，耗时:" << stopwatch.elapsed() << "ms，找到" << result.networks.size() << "个网络";
    return result;
}
