// What the transports need from the window while they enumerate printers:
// somewhere to list what they find, the scan progress bar, whether the
// user has stopped the scan, and the connection fields the user typed.
// MainWindow implements it; tests and benchmarks use plain fakes, so the
// transports never include a widget header.
#pragma once

#include <QString>

class ScanHost
{
public:
    virtual ~ScanHost() = default;

    // Append one "%s [%s] {%s}" entry to the device list.
    virtual void addScanResult(const QString &displayText) = 0;
    // Move the scan progress bar (0..100).
    virtual void setScanProgress(int percent) = 0;
    // True while the refresh runs; false once the user has stopped it. The
    // enumerations look at it between steps and end early when it is false.
    virtual bool scanRunning() const = 0;

    // Wi-Fi medium chosen: discovery probes the typed address directly
    // instead of broadcasting.
    virtual bool wifiDirectChecked() const = 0;
    virtual QString connectAddressText() const = 0;
    virtual QString connectTcpPortText() const = 0;
    virtual QString connectUdpPortText() const = 0;
    // Broadcast discovery on this wired interface only; empty or "*" for
    // every wired interface.
    virtual QString discoveryInterface() const { return {}; }
};
