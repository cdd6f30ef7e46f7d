// The benchmarks drive the network transport without a window: discovery
// is never run, so the connection fields only need plausible defaults.
#pragma once

#include "transport/scan_host.h"

class NoWindow : public ScanHost
{
public:
    void addScanResult(const QString &) override {}
    void setScanProgress(int) override {}
    bool scanRunning() const override { return true; }
    bool wifiDirectChecked() const override { return false; }
    QString connectAddressText() const override { return QStringLiteral("127.0.0.1"); }
    QString connectTcpPortText() const override { return QStringLiteral("9100"); }
    QString connectUdpPortText() const override { return QStringLiteral("38400"); }
};
