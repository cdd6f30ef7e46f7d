// A stand-in for the window during network scans: records the device-list
// entries and serves the connection fields a test sets.
#pragma once

#include "transport/scan_host.h"

#include <QStringList>

class FakeScanHost : public ScanHost
{
public:
    void addScanResult(const QString &displayText) override { entries.append(displayText); }
    void setScanProgress(int percent) override { progress = percent; }
    bool wifiDirectChecked() const override { return wifi; }
    QString connectAddressText() const override { return address; }
    QString connectTcpPortText() const override { return tcpPort; }
    QString connectUdpPortText() const override { return udpPort; }

    QStringList entries;
    int progress = 0;
    bool wifi = false;
    QString address = QStringLiteral("127.0.0.1");
    QString tcpPort = QStringLiteral("9100");
    QString udpPort = QStringLiteral("38400");
};
