// The single top-level window. It owns the generated form, the result
// reporting (Ret_Handler) and the window-level lock (controlAllWidgets);
// every page and function handler is one of its slots, defined in the file
// of the folder that owns that area (pages/, maintenance/, ui/).
#pragma once

#include "transport/scan_host.h"

#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>

class QDialog;
class QLabel;
class QLineEdit;
class DeviceIoContrl_Net;
class CDeviceIOOpera;

namespace Ui { class MainWindow; }

// Wi-Fi page values last read from or written to the printer, so that a
// set sends only what changed. -1 / empty = nothing read yet.
struct WifiSettingsSnapshot
{
    int wifiMode = -1;
    int ipMode = -1;
    QString staName, staPassword, apName, apPassword, apIp, tcpPort;
    QString ip, subnetMask, gateway, dns;
};

class MainWindow : public QMainWindow, public ScanHost
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the message for a printer result code; 1 when it showed an
    // error, 0 otherwise (success and codes passed over silently).
    int Ret_Handler(int code);
    // Locks or unlocks the controls that could start a second exchange.
    void controlAllWidgets(bool enable);

    // Numeric field repair.
    void fixLineEditWithTip(QLineEdit *edit, const QString &tip, double min, double max);
    void fixIntegerLineEdit(QLineEdit *edit);
    void showLineEditTip(QLineEdit *edit, const QString &tip);

    // Model adaptation after a successful open.
    void selectedItem();

    // ScanHost
    void addScanResult(const QString &displayText) override;
    void setScanProgress(int percent) override;
    bool wifiDirectChecked() const override;
    QString connectAddressText() const override;
    QString connectTcpPortText() const override;
    QString connectUdpPortText() const override;

public slots:
    void on_checkBox_USB_clicked(bool checked);
    void on_checkBox_NET_clicked(bool checked);
    void on_checkBox_BLE_clicked(bool checked);
    void on_checkBox_WIFI_clicked(bool checked);
    void on_checkBox_Serialport_clicked(bool checked);

    void on_pushButton_getList_clicked();
    void on_pushButton_StopList_clicked();
    void on_pushButton_open_clicked();
    void on_pushButton_close_clicked(bool openDebug = true);

private:
    // A printer counts as open exactly while the open button is disabled.
    bool deviceOpen() const;
    // Modal box with one OK button, parented to the window.
    void showBox(QMessageBox::Icon icon, const QString &title, const QString &text);
    // "请先打开设备" under "设置工具" when no printer is open; true = go on.
    bool requireOpenDevice();
    void selectMedium(int medium);
    void setIpConnectionFields(bool addressEnabled, bool portsEnabled);
    void setSerialConnectionFields(bool enabled);
    void applyInitialState();
    // Back to the not-connected state (device list and transports kept).
    void closeConnection(unsigned long networkPauseMs);
    void connectFieldRepair();

    Ui::MainWindow *ui;
    // Owners of the transports of the latest refresh; contrlNet/contrlUsb
    // point into them.
    std::unique_ptr<DeviceIoContrl_Net> m_netTransport;
    std::unique_ptr<CDeviceIOOpera> m_usbTransport;
    QPointer<QLabel> m_tipLabel;
    QDialog *m_distributeNet = nullptr;
    WifiSettingsSnapshot m_wifiSnapshot;
    QHash<QLineEdit *, double> m_lastDecimal;
    QHash<QLineEdit *, int> m_lastInteger;
};
