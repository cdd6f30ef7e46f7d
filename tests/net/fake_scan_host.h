// Stands in for the window while a transport enumerates: records the
// device-list entries and progress values, serves the connection fields a
// test sets, and can press stop once the list holds `stopAfter` entries.
// frame() spells a frame out byte by byte, independent of the tool's own
// builder: lead-in 1B FF FE, class, code, length, payload, tail 1B FE FF.
#pragma once

#include "transport/scan_host.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

inline QByteArray frame(quint8 cls, quint8 code, const QByteArray &payload = {})
{
    return QByteArray::fromHex("1bfffe") + char(cls) + char(code) + char(payload.size()) + payload + "\x1b\xfe\xff";
}

class FakeScanHost : public ScanHost
{
public:
    void addScanResult(const QString &displayText) override
    {
        entries.append(displayText);
        running = running && entries.size() != stopAfter;
    }
    void setScanProgress(int percent) override { progress.append(percent); }
    bool scanRunning() const override { return running; }
    bool wifiDirectChecked() const override { return wifi; }
    QString connectAddressText() const override { return QStringLiteral("127.0.0.1"); }
    QString connectTcpPortText() const override { return tcpPort; }
    QString connectUdpPortText() const override { return udpPort; }

    QStringList entries;
    QList<int> progress;
    int stopAfter = -1;
    bool running = true;  // false: the user pressed stop
    bool wifi = false;
    QString tcpPort = QStringLiteral("9100");
    QString udpPort = QStringLiteral("38400");
};
