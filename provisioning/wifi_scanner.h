// Where the provisioning window learns which Wi-Fi networks the computer
// can see. Each host has its own source (NetworkManager on Linux, the
// system's command-line tools on macOS); the window sees only this
// interface, so a host without any source still lets the operator type a
// network name by hand.
#pragma once

#include "provisioning/wifi_types.h"

#include <functional>
#include <memory>

struct WifiScan
{
    // Why the list is empty when it is; Listed also for a scan that found
    // no network.
    // NoAnswer: the service stopped answering mid-scan (the list holds what
    // it gave until then).
    enum class Outcome { Listed, NoService, NoDevice, WifiOff, NoAnswer };
    Outcome outcome = Outcome::Listed;
    // Visible networks; names may repeat (one entry per access point).
    QList<WifiInfo> networks;
};

class WifiScanner
{
public:
    virtual ~WifiScanner() = default;
    // Runs on a pool thread and may block for seconds; touches no widget.
    virtual WifiScan scan() = 0;
};

using WifiScannerFactory = std::function<std::shared_ptr<WifiScanner>()>;

// The scanner of the host the program runs on (NoService everywhere else).
std::shared_ptr<WifiScanner> makeHostWifiScanner();
// What the provisioning window asks for a scanner; tests put a fake in its
// place. An empty factory restores the host's.
std::shared_ptr<WifiScanner> makeWifiScanner();
void setWifiScannerFactory(WifiScannerFactory factory);
