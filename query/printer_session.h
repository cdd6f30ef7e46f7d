// One printer, opened without a window: by USB port or by network address,
// identified by its model, and read and written through the settings
// catalogue. The command-line tool and the benchmarks work on it; the
// window keeps its own connection state.
//
// The transports keep process-wide state (one USB selection, one network
// handle record), so a process opens one printer at a time.
#pragma once

#include "protocol/codes.h"
#include "protocol/serial_line.h"
#include "protocol/settings_catalogue.h"
#include "transport/scan_host.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class CDeviceIOOpera;
class DeviceIoContrl_Net;
class DeviceIoContrl_Serial;

// "usb" (the first printer found), "usb:PORT", "tcp:HOST[:PORT]" (port
// 9100 unless given; an IPv6 host is written in brackets) or
// "serial:PATH[:BAUD[:FRAMING[:FLOW]]]" (framing like 8N1 or 7E2, flow
// none, hw or sw; 8N1 and none unless given; without a rate the printer's
// is looked for). Every way of naming a printer is parsed here, and only
// here.
struct PrinterAddress
{
    enum class Kind { Usb, Tcp, Serial };
    Kind kind = Kind::Usb;
    int usbPort = -1;   // -1: the first printer found
    QString host;
    quint16 port = 9100;
    QString path;                  // serial: the port's path or name
    serial::LineSettings line;     // serial: the settings to open with
    bool baudGiven = false;        // serial: false, look for the printer's rate
    QString text;       // as written
    // One spelling per printer: "tcp:h" and "tcp:H:9100" are the same.
    QString canonical() const;
};
std::optional<PrinterAddress> parsePrinterAddress(const QString &text, QString *error);

// A printer found by list(): its name and the address that opens it.
struct FoundPrinter
{
    QString name;
    QString address;
};

class PrinterSession : private ScanHost
{
public:
    PrinterSession();
    ~PrinterSession() override;
    PrinterSession(const PrinterSession &) = delete;
    PrinterSession &operator=(const PrinterSession &) = delete;

    // Connects (network) or selects (USB) the printer and reads its
    // identity, which tells the model group. A Result code; `error` says
    // what went wrong in words.
    int open(const PrinterAddress &address, QString *error);
    void close();
    int medium() const { return m_medium; }
    QString modelName() const { return m_modelName; }
    QString deviceId() const { return m_deviceId; }
    settings::Model model() const { return m_model; }

    // USB printers of the supported vendor (address usb:PORT), the serial
    // ports and Bluetooth links (serial:PATH; nothing is sent to them);
    // with `udpInterface` set, also the printers answering discovery on
    // that wired interface ("*" for all of them; address tcp:HOST).
    QList<FoundPrinter> list(const QString &udpInterface, int udpPort);

    // Reads every instruction that carries one of `keys` into `values`;
    // the first failure is returned. Keys of failed instructions are left
    // out of `values` and go into `failed` with their instruction's result.
    int read(const QStringList &keys, settings::Values &values, QMap<QString, int> *failed = nullptr);
    // Sends one instruction's frame built from `values` (secrets logged by
    // length only) and waits what the printer needs after it.
    int send(SetInfoType code, const settings::Values &values);
    // The "print settings done" frame that makes the printer take a new
    // print page.
    int printSettingsDone();
    int function(POWER_InFo code);
    int frame(const QByteArray &bytes);
    int statusWord(quint32 &word);
    int statusInfo(POWER_InFo code, QByteArray &payload);

    // Streams raw bytes (a file) in the chunks the medium takes, each sent
    // once however slowly the printer takes it (SendChunk); `progress`
    // gets the bytes sent so far. A Result.
    int stream(const QByteArray &data, const std::function<void(qint64)> &progress);

    // Waits until the printer answers its identity query again (after a
    // restart): asks at least once, and again every half second until
    // `timeoutMs` have passed.
    bool waitUntilBack(int timeoutMs);

    // The pauses between frames; tests and the dry run replace it.
    std::function<void(int ms)> pause;

private:
    void addScanResult(const QString &displayText) override;
    void setScanProgress(int) override {}
    bool scanRunning() const override { return true; }
    bool wifiDirectChecked() const override { return false; }
    QString connectAddressText() const override { return {}; }
    QString connectTcpPortText() const override { return QString::number(m_address.port); }
    QString connectUdpPortText() const override { return QString::number(m_udpPort); }
    QString discoveryInterface() const override { return m_udpInterface; }
    int identify(QString *error);
    int openSerial(const PrinterAddress &address, QString *error);

    PrinterAddress m_address;
    int m_medium = 0;
    QString m_modelName, m_deviceId;
    settings::Model m_model;
    std::unique_ptr<CDeviceIOOpera> m_usb;
    std::unique_ptr<DeviceIoContrl_Net> m_net;
    std::unique_ptr<DeviceIoContrl_Serial> m_serial;
    QStringList m_found;
    QString m_udpInterface;
    int m_udpPort = 38400;
};
