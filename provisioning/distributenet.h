// The Wi-Fi provisioning window: lists the networks the computer can see,
// the connected one marked and first, and lets the operator pick one or
// type a name, and give its password. Confirming emits the credentials;
// what reaches the printer is the main window's concern.
#pragma once

#include "provisioning/wifi_scanner.h"

#include <QFutureWatcher>
#include <QMainWindow>

class QListWidgetItem;
namespace Ui { class DistributeNet; }

class DistributeNet : public QMainWindow
{
    Q_OBJECT

public:
    // `scanner` is where the visible networks come from (the host's own
    // unless a test puts a fake in its place).
    explicit DistributeNet(QWidget *parent = nullptr, std::shared_ptr<WifiScanner> scanner = makeWifiScanner());
    ~DistributeNet() override;

    // Ends a running scan and starts another on the global thread pool.
    void refreshWifiList();
    // The printer is busy with a transfer: the credentials cannot be sent
    // meanwhile.
    void setSendAllowed(bool allowed);

signals:
    void wifiCredReady(const WifiCred &cred);
    void closed();

private slots:
    void on_btnRefresh_clicked();
    void on_listWifi_itemClicked(QListWidgetItem *item);
    void on_btnSetNet_clicked();
    void on_checkManualMode_toggled(bool checked);
    void on_checkShowPassword_toggled(bool checked);
    void on_lineSsidManual_textChanged(const QString &text);
    void handleScanFinished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static WifiScan scanAvailableWifis(const std::shared_ptr<WifiScanner> &scanner);
    // Waits for a running scan to end (a scan cannot be interrupted, only
    // its result dropped) and deletes its watcher.
    void cleanupWatchers();
    QString emptyListReason(WifiScan::Outcome outcome) const;

    Ui::DistributeNet *ui;
    std::shared_ptr<WifiScanner> m_scanner;
    QFutureWatcher<WifiScan> *m_watcher = nullptr;
    // The network the computer is connected to, as the last scan found it.
    QString m_currentSsid;
    bool manualMode = false;
};
