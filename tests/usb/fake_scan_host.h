// Stands in for the main window while a transport enumerates: records the
// device-list items and progress values it is handed.
#pragma once

#include "transport/scan_host.h"
#include "ui/shared_state.h"

#include <QList>
#include <QStringList>

class FakeScanHost : public ScanHost
{
public:
    void addScanResult(const QString &displayText) override
    {
        items.append(displayText);
        // The user presses stop while the list fills.
        if (items.size() == stopAfter)
            getListStatus = false;
    }
    void setScanProgress(int percent) override { progress.append(percent); }
    bool wifiDirectChecked() const override { return false; }
    QString connectAddressText() const override { return QStringLiteral("127.0.0.1"); }
    QString connectTcpPortText() const override { return QStringLiteral("9100"); }
    QString connectUdpPortText() const override { return QStringLiteral("38400"); }

    QStringList items;
    QList<int> progress;
    int stopAfter = -1;
};
