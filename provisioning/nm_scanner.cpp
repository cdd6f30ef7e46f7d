#include "provisioning/nm_scanner.h"
#include "provisioning/wifi_list.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDebug>
#include <QThread>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kWireless = QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless");
const QString kAccessPoint = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr uint kWifiDeviceType = 2;
// NetworkManager answers within milliseconds; a call without an answer in
// this time means it stopped answering, and the scan ends there.
constexpr int kCallTimeoutMs = 5000;
// A requested scan usually ends within a few seconds; past this the list
// NetworkManager already has is shown.
constexpr int kFreshScanWaitMs = 4000;
constexpr int kPollMs = 100;

// The calls of one scan, all within the scan's cap. Once a call has gone
// unanswered, or the cap is spent, the bus counts as silent and no further
// call is made.
class NmBus
{
public:
    explicit NmBus(QDBusConnection connection)
        : m_connection(std::move(connection)), m_deadline(NetworkManagerScanner::kScanCapMs)
    {
    }

    bool silent() const { return m_silent; }

    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
                      const QVariantList &args = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
        message.setArguments(args);
        const qint64 left = m_deadline.remainingTime();
        m_silent = m_silent || left <= 0;
        if (m_silent)
            return message.createErrorReply(QDBusError::NoReply, QStringLiteral("NetworkManager did not answer"));
        const QDBusMessage reply = m_connection.call(message, QDBus::Block, int(std::min<qint64>(left, kCallTimeoutMs)));
        if (reply.type() == QDBusMessage::ErrorMessage
            && (reply.errorName() == QDBusError::errorString(QDBusError::NoReply)
                || reply.errorName() == QDBusError::errorString(QDBusError::Timeout))) {
            qDebug() << "NetworkManager did not answer" << method;
            m_silent = true;
        }
        return reply;
    }

    // A property's value; invalid when the object or property is missing.
    QVariant property(const QString &path, const QString &interface, const QString &name) const
    {
        const QDBusReply<QDBusVariant> reply = call(path, kProperties, QStringLiteral("Get"), {interface, name});
        return reply.isValid() ? reply.value().variant() : QVariant();
    }

private:
    QDBusConnection m_connection;
    QDeadlineTimer m_deadline;
    mutable bool m_silent = false;
};

QList<QDBusObjectPath> paths(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>());
    return value.value<QList<QDBusObjectPath>>();
}

// Asks the device for a fresh scan and waits for it to end (its LastScan
// changes). A refused request (scanning too often, or not allowed to this
// user) leaves the list the device already has.
void requestScan(const NmBus &bus, const QString &device)
{
    const QVariant before = bus.property(device, kWireless, QStringLiteral("LastScan"));
    const QDBusMessage reply = bus.call(device, kWireless, QStringLiteral("RequestScan"), {QVariantMap()});
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qDebug() << "WiFi scan request refused, using the last list:" << reply.errorName();
        return;
    }
    if (!before.isValid())
        return;
    const QDeadlineTimer deadline(kFreshScanWaitMs);
    while (!deadline.hasExpired() && !bus.silent()
           && bus.property(device, kWireless, QStringLiteral("LastScan")) == before)
        QThread::msleep(kPollMs);
}

QList<WifiInfo> accessPoints(const NmBus &bus, const QString &device)
{
    requestScan(bus, device);
    const QDBusReply<QList<QDBusObjectPath>> all = bus.call(device, kWireless, QStringLiteral("GetAllAccessPoints"));
    if (bus.silent())
        return {};
    const QList<QDBusObjectPath> list
        = all.isValid() ? all.value() : paths(bus.property(device, kWireless, QStringLiteral("AccessPoints")));
    const QString active = bus.property(device, kWireless, QStringLiteral("ActiveAccessPoint"))
                               .value<QDBusObjectPath>().path();
    QList<WifiInfo> networks;
    for (const QDBusObjectPath &ap : list) {
        const QDBusReply<QVariantMap> props
            = bus.call(ap.path(), kProperties, QStringLiteral("GetAll"), {kAccessPoint});
        if (bus.silent())
            break;
        if (!props.isValid())
            continue;   // gone since the list was taken
        // Names are bytes, shown as UTF-8 but handed to the printer as they
        // are. Hidden networks have no name to offer.
        const int percent = props.value().value(QStringLiteral("Strength")).toInt();
        const WifiInfo info = networkFromBytes(props.value().value(QStringLiteral("Ssid")).toByteArray(),
                                               percentToDbm(percent), ap.path() == active);
        if (info.ssid.isEmpty())
            continue;
        networks.append(info);
        qDebug() << "找到: 【" << info.ssid << "】, 信号强度:" << percent << "% =" << networks.last().rssi
                 << "dBm, 当前连接:" << networks.last().isCurrent;
    }
    return networks;
}

} // namespace

NetworkManagerScanner::NetworkManagerScanner(Bus bus)
    : m_bus(std::move(bus))
{
}

WifiScan NetworkManagerScanner::scan()
{
    qDebug() << "\n---------------开始扫描WiFi...";
    const NmBus bus(m_bus());
    const QDBusReply<QList<QDBusObjectPath>> devices = bus.call(kManagerPath, kService, QStringLiteral("GetDevices"));
    if (!devices.isValid()) {
        qDebug() << "NetworkManager not reachable:" << devices.error().name();
        return {bus.silent() ? WifiScan::Outcome::NoAnswer : WifiScan::Outcome::NoService, {}};
    }
    QStringList wifiDevices;
    for (const QDBusObjectPath &device : devices.value()) {
        if (bus.property(device.path(), kDevice, QStringLiteral("DeviceType")).toUInt() == kWifiDeviceType)
            wifiDevices << device.path();
    }
    // A property that never came is no answer, never "Wi-Fi off".
    const auto silence = [](QList<WifiInfo> networks = {}) {
        qDebug() << "NetworkManager stopped answering; scan ended";
        return WifiScan{WifiScan::Outcome::NoAnswer, std::move(networks)};
    };
    if (bus.silent())
        return silence();
    if (wifiDevices.isEmpty()) {
        qDebug() << "no Wi-Fi device";
        return {WifiScan::Outcome::NoDevice, {}};
    }
    // Switched off in the desktop, or by the machine's radio switch.
    const bool enabled = bus.property(kManagerPath, kService, QStringLiteral("WirelessEnabled")).toBool()
                         && bus.property(kManagerPath, kService, QStringLiteral("WirelessHardwareEnabled")).toBool();
    if (bus.silent())
        return silence();
    if (!enabled) {
        qDebug() << "WiFi未开启，无法扫描";
        return {WifiScan::Outcome::WifiOff, {}};
    }
    WifiScan result;
    for (const QString &device : std::as_const(wifiDevices))
        result.networks += accessPoints(bus, device);
    return bus.silent() ? silence(result.networks) : result;
}
