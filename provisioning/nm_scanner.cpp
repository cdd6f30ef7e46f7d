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
// A bus call that takes longer than this is treated as refused.
constexpr int kCallTimeoutMs = 5000;
// A requested scan usually ends within a few seconds; past this the list
// NetworkManager already has is shown.
constexpr int kFreshScanWaitMs = 4000;
constexpr int kPollMs = 100;

class NmBus
{
public:
    explicit NmBus(QDBusConnection connection) : m_connection(std::move(connection)) {}

    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
                      const QVariantList &args = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
        message.setArguments(args);
        return m_connection.call(message, QDBus::Block, kCallTimeoutMs);
    }

    // A property's value; invalid when the object or property is missing.
    QVariant property(const QString &path, const QString &interface, const QString &name) const
    {
        const QDBusReply<QDBusVariant> reply = call(path, kProperties, QStringLiteral("Get"), {interface, name});
        return reply.isValid() ? reply.value().variant() : QVariant();
    }

private:
    QDBusConnection m_connection;
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
    while (!deadline.hasExpired() && bus.property(device, kWireless, QStringLiteral("LastScan")) == before)
        QThread::msleep(kPollMs);
}

QList<WifiInfo> accessPoints(const NmBus &bus, const QString &device)
{
    requestScan(bus, device);
    const QDBusReply<QList<QDBusObjectPath>> all = bus.call(device, kWireless, QStringLiteral("GetAllAccessPoints"));
    const QList<QDBusObjectPath> list
        = all.isValid() ? all.value() : paths(bus.property(device, kWireless, QStringLiteral("AccessPoints")));
    const QString active = bus.property(device, kWireless, QStringLiteral("ActiveAccessPoint"))
                               .value<QDBusObjectPath>().path();
    QList<WifiInfo> networks;
    for (const QDBusObjectPath &ap : list) {
        const QDBusReply<QVariantMap> props
            = bus.call(ap.path(), kProperties, QStringLiteral("GetAll"), {kAccessPoint});
        if (!props.isValid())
            continue;   // gone since the list was taken
        // Hidden networks have no name to offer.
        const QString ssid = QString::fromUtf8(props.value().value(QStringLiteral("Ssid")).toByteArray()).trimmed();
        if (ssid.isEmpty())
            continue;
        const int percent = props.value().value(QStringLiteral("Strength")).toInt();
        networks.append({ssid, percentToDbm(percent), ap.path() == active});
        qDebug() << "找到: 【" << ssid << "】, 信号强度:" << percent << "% =" << networks.last().rssi
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
        return {WifiScan::Outcome::NoService, {}};
    }
    QStringList wifiDevices;
    for (const QDBusObjectPath &device : devices.value()) {
        if (bus.property(device.path(), kDevice, QStringLiteral("DeviceType")).toUInt() == kWifiDeviceType)
            wifiDevices << device.path();
    }
    if (wifiDevices.isEmpty()) {
        qDebug() << "no Wi-Fi device";
        return {WifiScan::Outcome::NoDevice, {}};
    }
    // Switched off in the desktop, or by the machine's radio switch.
    if (!bus.property(kManagerPath, kService, QStringLiteral("WirelessEnabled")).toBool()
        || !bus.property(kManagerPath, kService, QStringLiteral("WirelessHardwareEnabled")).toBool()) {
        qDebug() << "WiFi未开启，无法扫描";
        return {WifiScan::Outcome::WifiOff, {}};
    }
    WifiScan result;
    for (const QString &device : std::as_const(wifiDevices))
        result.networks += accessPoints(bus, device);
    return result;
}
