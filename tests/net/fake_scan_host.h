// Stands in for the window while a transport enumerates: records the
// device-list entries and progress values, serves the connection fields a
// test sets, and can press stop once the list holds `stopAfter` entries.
#pragma once

#include "transport/scan_host.h"
#include "wire_frame.h"

#include <QList>
#include <QStringList>

class FakeScanHost : public ScanHost
{
public:
    void addScanResult(const QString &displayText) override
    {
        entries.append(displayText);
        if (entries.size() == stopAfter)
            running = false;
    }
    void setScanProgress(int percent) override { progress.append(percent); }
    bool scanRunning() const override { return running; }
    bool wifiDirectChecked() const override { return wifi; }
    QString connectAddressText() const override { return address; }
    QString connectTcpPortText() const override { return tcpPort; }
    QString connectUdpPortText() const override { return udpPort; }

    QStringList entries;
    QList<int> progress;
    int stopAfter = -1;
    bool running = true;   // false: the user pressed stop
    bool wifi = false;
    QString address = QStringLiteral("127.0.0.1");
    QString tcpPort = QStringLiteral("9100");
    QString udpPort = QStringLiteral("38400");
};
