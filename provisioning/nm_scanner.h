// The visible networks as NetworkManager knows them, read over D-Bus: its
// Wi-Fi devices, their access points and the access point each device is
// connected to. Nothing is parsed from command-line output.
#pragma once

#include "provisioning/wifi_scanner.h"

#include <QDBusConnection>

class NetworkManagerScanner : public WifiScanner
{
public:
    // The bus NetworkManager is on: the system bus, or a private one in
    // tests. Called on the scanning thread.
    using Bus = std::function<QDBusConnection()>;
    explicit NetworkManagerScanner(Bus bus = &QDBusConnection::systemBus);

    // The longest a scan takes, however NetworkManager behaves: a fresh
    // scan's wait included. One that stops answering ends the scan sooner,
    // at its first unanswered call.
    static constexpr int kScanCapMs = 15000;

    WifiScan scan() override;

private:
    Bus m_bus;
};
