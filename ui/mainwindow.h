// The single top-level window. It owns the generated form, the result
// reporting (Ret_Handler) and the window-level lock (controlAllWidgets);
// every page and function handler is one of its slots, defined in the file
// of the folder that owns that area (pages/, maintenance/, ui/).
#pragma once

#include "maintenance/firmware_file.h"
#include "maintenance/restore_dialog.h"
#include "pages/kept_bytes.h"
#include "pages/page_flow.h"
#include "pages/wifi_changes.h"
#include "protocol/settings_catalogue.h"
#include "provisioning/wifi_types.h"
#include "transport/scan_host.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QDeadlineTimer>
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>

class DistributeNet;
class QComboBox;
class QLabel;
class QLineEdit;
class DeviceIoContrl_Net;
class CDeviceIOOpera;
class DeviceIoContrl_Serial;

namespace Ui { class MainWindow; }

class MainWindow : public QMainWindow, public ScanHost
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Shows the message for a printer result code; 1 when it showed an
    // error, 0 otherwise (success and codes passed over silently).
    int Ret_Handler(int code);
    // Locks or unlocks the controls that could start a second exchange;
    // never unlocks what a running transfer holds.
    void controlAllWidgets(bool enable);

    // Numeric field repair.
    void fixLineEditWithTip(QLineEdit *edit, const QString &tip, double min, double max);
    void fixIntegerLineEdit(QLineEdit *edit);
    void showLineEditTip(QLineEdit *edit, const QString &tip);

    // Model adaptation after a successful open.
    void selectedItem();

    // Set instructions: each reads its widget, sends one class-01 frame
    // over the open medium and returns the transport result (-1 when the
    // medium has no transport).
    int Set_Send_SPEED_Instruction();
    int Set_Send_DEFAULT_CODE_Instruction();
    int Set_Send_SIMULATION_Instruction();
    int Set_Send_SERIAL_PORT_Instruction();
    int Set_Send_PORT_MESSAGE_Instruction();
    int Set_Send_SN_Instruction();
    int Set_Send_Densty_SETTING_Instruction();
    int Set_Send_PAPER_TYPE_Instruction();
    int Set_Send_LABEL_SIZE_Instruction();
    int Set_Send_LABLE_CLEARANCE_Instruction();
    int Set_Send_BLACK_CLEARANCE_Instruction();
    int Set_Send_PRINT_DIRECTION_Instruction();
    int Set_Send_PRINT_OFFSET_Instruction();
    int Set_Send_VERTICAL_MIGRATION_Instruction();
    int Set_Send_CONNECT_AP_INFORMATION_Instruction();
    int Set_Send_AP_MODE_Instruction();
    int Set_Send_IP_MESSAGE_Instruction();
    int Set_Send_TCP_SERVICE_PORT_NUMBER_Instruction();
    int Set_Send_BR_EDR_NAME_Instruction();
    int Set_Send_BLE_NAME_Instruction();
    int Set_Send_PIN_Instruction();
    int Set_Send_SPP_MODE_Instruction();
    int Set_Send_WIFI_MODE_Instruction();
    int Set_Send_THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT_Instruction();
    int Set_Send_SEAM_TO_PRINT_HRAD_DISTANCE_Instruction();
    int Set_Send_BLACK_TO_PRINT_HEAD_DISTANCE_Instruction();
    int Set_Send_PRINT_HEAD_TO_TEAR_DISTANCE_Instruction();
    int Set_Send_LG_MODE_Instruction();
    int Set_PRINTER_MODE_Instruction();
    int Set_AUTO_PAPER_Instruction();
    int Set_Send_CUT_DIS_Instruction();
    int Net_Set();

    // Page readers: run the page's queries and fill its widgets.
    int Print_Init();
    int Distance_Init();
    int USB_Init();
    int Message_Init();
    int Wifi_Init();
    int IP_Init();
    int Net_Init();
    int Blueteeth_Init();

    // ScanHost
    void addScanResult(const QString &displayText) override;
    void setScanProgress(int percent) override;
    bool scanRunning() const override;
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

    void on_pushButton_PrintSettingRead_clicked();
    void on_pushButton_PrintSettingSet_clicked();
    void on_pushButton_DistanceSettingRead_clicked();
    void on_pushButton_DistanceSettingSet_clicked();
    void on_pushButton_ComSettingRead_clicked();
    void on_pushButton_ComSettingSet_clicked();
    void on_pushButton_StripperSettingRead_clicked();
    void on_pushButton_StripperSettingSet_clicked();
    void on_pushButton_WifiSettingRead_clicked();
    void on_pushButton_WifiSettingSet_clicked();
    void on_pushButton_NetportSettingRead_clicked();
    void on_pushButton_NetportSettingSet_clicked();
    void on_pushButton_BleSettingRead_clicked();
    void on_pushButton_BleSettingSet_clicked();

    void on_pushButton_getPrinterInfo_clicked();
    void on_pushButton_GetPrinterStatus_clicked();
    void on_pushButton_SelfCheck_clicked();
    void on_pushButton_Reboot_clicked();
    void on_pushButton_PrinterInit_clicked();
    void on_pushButton_SeamLrn_clicked();
    void on_pushButton_BlackLableLrn_clicked();
    void on_pushButton_DACLrn_clicked();
    void on_pushButton_OutietLrn_clicked();
    void on_pushButton_NopaperLrn_clicked();
    void on_pushButton_HalfCut_clicked();
    void on_pushButton_AllCut_clicked();
    void on_pushButton_StripMode_clicked();
    void on_pushButton_TearMode_clicked();
    void on_pushButton_KeySettingOpen_clicked();
    void on_pushButton_KeySettingClose_clicked();
    void on_pushButton_BuzzerOpen_clicked();
    void on_pushButton_BuzzerClose_clicked();

    // Debug console (ui/debug_console.cpp).
    void on_radioButton_hexSend_toggled(bool checked);
    void on_pushButton_Send_clicked();
    void updateTextBrowser(QByteArray data);
    void mrecvDebugData(QByteArray data_B);
    void on_pushButton_SendFile_clicked();
    void on_pushButton_ClearSend_clicked();
    void on_pushButton_ClearDebug_clicked();

    // Firmware and font downloads, file transfers
    // (maintenance/file_transfer.cpp). sendFileProcess writes one chunk for
    // the worker thread and leaves the result in sendFileRet.
    void on_pushButton_DownloadFW_clicked();
    void on_pushButton_DownloadFL_clicked();
    void sendFileProcess(QByteArray data);

    // Wi-Fi provisioning (provisioning/wifi_handoff.cpp): opens the one
    // provisioning window, hands the credentials it delivers to the
    // printer, and forgets the window once it has closed.
    void on_pushButton_NetSetup_clicked();
    void wifiToNetClosed();
    void onWifiCredReceived(const WifiCred &cred);

    // Waits `ms` with the window painting but taking no user input (the
    // caller keeps the controls locked): the printer needs the time to
    // apply a wireless setting before the next one. Ends at the deadline
    // even when no other event arrives.
    void pause(int ms);

    // Settings backup and restore, and the checks before and after a
    // firmware download (maintenance/backup_restore.cpp,
    // maintenance/firmware_checks.cpp).
    void on_pushButton_BackupSettings_clicked();
    void on_pushButton_RestoreSettings_clicked();

public:
    // How long the window waits for the printer to answer again after a
    // firmware download (120 s); 0 does not wait.
    void setRestartWait(int ms) { m_restartWaitMs = ms; }
    // The work start-up leaves until the first paint is done: the combo
    // lists styled, the serial and Bluetooth boxes enabled as ports exist.
    bool finishedAfterShowing() const { return m_finishedAfterShowing; }
    // The restore dialog for a file's settings against the printer's,
    // worded as the pages word them; `serials` (file, printer) for the
    // line that says the file is another printer's.
    std::unique_ptr<RestoreSettingsDialog> restoreDialog(const restore::Comparison &comparison,
                                                         const std::pair<QString, QString> &serials);

private:
    // What a firmware download checked before it started: the version the
    // printer had, the backup taken (if any) and where the printer was.
    struct FirmwareCheck
    {
        QString version;
        QString backupPath;
        settings::Values backup;
        int usbPort = -1;
        int usbAddress = -1;
    };
    QString settingName(const QString &key) const;
    QString settingValueText(const QString &key, const QString &value) const;
    QString settingPage(const QString &key) const;
    // Reads `keys` (progress on the maintenance tab's bar); false with the
    // page that could not be read.
    bool readSettings(const QStringList &keys, settings::Values &values, QString *failedPage);
    // The open printer's settings as a profile; empty with `error` set
    // when a page could not be read.
    QByteArray backupProfile(bool secrets, QString *error, settings::Values *values = nullptr);
    void restoreFrom(const settings::Values &file, const QString &fileName);
    void applyRestore(RestoreSettingsDialog *dialog);
    bool restoreRefused(const restore::Plan &plan);
    // Names printer and file and backs up first; false when the operator
    // called it off. `check` stays empty for a printer that cannot be read.
    bool checkBeforeFirmware(const QString &chosen, std::optional<FirmwareCheck> &check);
    void watchRestart();
    void waitForRestart();
    void afterRestart();
    int m_restartWaitMs = 120000;
    std::optional<FirmwareCheck> m_firmwareCheck;
    // The printer was seen gone since the download, and answering again.
    bool m_restartGone = false;
    bool m_restartBack = false;
    QDeadlineTimer m_restartDeadline;

protected:
    // Asks before a running firmware or font download is cut off; a
    // console send stops at its next chunk.
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // What holds the printer besides a page's own exchange. While one
    // runs, nothing else talks to the printer or takes it away.
    enum class Transfer { None, Download, ConsoleFile, ConsoleText };

    // A printer counts as open exactly while the open button is disabled.
    bool deviceOpen() const;
    // Modal box with one OK button, parented to the window; `advice`, when
    // given, is a line under the text that says what the user can do.
    void showBox(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &advice = {});

    // The shared handler flow (pages/page_flow.cpp). runOnPrinter runs
    // `exchange` between the checks, the lock and the socket connection the
    // flow asks for; nullopt when it stopped before sending anything.
    std::optional<int> runOnPrinter(const PageFlow &flow, const std::function<int()> &exchange);
    // A page's read: reports the result and enables the page's set button
    // as the flow says. True when the result was accepted (Ret_Handler 0).
    bool readPage(const PageFlow &flow, QWidget *setButton, const std::function<int()> &init);
    // A page's set: reports the result. nullopt when it stopped first.
    std::optional<int> setPage(const PageFlow &flow, const std::function<int()> &send);
    // On the network medium the socket is connected around every user
    // operation; on USB the transport opens the device per transfer.
    void beginExchange();
    void endExchange();
    // Refusals before anything is sent, with a box naming the field and
    // what is allowed: an integer field whose value would not fit the
    // printer's 16-bit field, a text longer than the length byte allows.
    // `othersBytes`: what the other texts of the same payload take (their
    // bytes and 00s), when one frame carries several.
    bool fieldFits(const QString &fieldName, quint8 code, const QString &text);
    bool textFits(const QString &fieldName, const QByteArray &utf8, int othersBytes = 0);
    // Every "."-separated part of an address field within 0..255.
    bool addressFits(const QString &fieldName, const QString &text);
    // A value the settings catalogue checks under `key`, with the box of
    // its kind: a number's range, an address's parts.
    bool settingFits(const QString &fieldName, const char *key, const QString &text);
    bool settingFits(const QString &fieldName, const settings::Setting &setting, const QString &text);
    // The connectivity pages' sets end with a request to restart the
    // printer instead of the plain success box; failures go to Ret_Handler.
    // True on success.
    bool reportRestartNeeded(int result);

    // Connectivity pages: the Wi-Fi page's values as it shows them now, the
    // checks before its Set sends anything, and the connection fields a
    // medium check box fills from the pages.
    WifiSettingsSnapshot wifiPageValues() const;
    bool wifiInputFits(const WifiChanges &changes);
    void fillWifiConnectionFields();
    void fillWiredConnectionPorts();
    // Deletes a provisioning window still open when the main window goes.
    void endProvisioning();
    // What a set sends for a field or combo (see KeptBytes), and forgetting
    // what was read from a printer once another one may be opened.
    QByteArray keptText(const char *key, const QLineEdit *field) const;
    int keptChoice(const char *key, const QComboBox *combo) const;
    void forgetPrinterValues();

    // Sets ret_mode, clears the device list and enables the connection
    // fields that medium uses.
    void selectMedium(int medium, bool addressEnabled, bool portsEnabled, bool serialEnabled);
    void setIpConnectionFields(bool addressEnabled, bool portsEnabled);
    void setSerialConnectionFields(bool enabled);
    void applyInitialState();
    // The stripper must be confirmed once per device selection.
    bool confirmStripper();
    void closeConnection(unsigned long networkPauseMs);
    // Serial and Bluetooth: their check boxes are usable while the system
    // lists a port of their kind (nothing is opened to find out).
    void enableLineMedia();
    void finishAfterShowing();
    // Opens the listed port and asks the printer for its identity (on a
    // cable, looking for its speed); 0 when it answered. `advice` says
    // when the open changed the connection's speed.
    int openLine(const QString &item, QString &advice);

    // Console and file transfers.
    int sendConsoleBytes(const QByteArray &bytes);
    void setUpTransfers();
    void endTransfers();
    void download(firmware::FileKind kind);
    // Locks the transfer controls and starts the worker on `path`; a
    // temporary file is removed at every end. On the network the stream is
    // connected first; when that fails, connectFailed (if given) reports it
    // and nothing starts.
    bool startTransfer(const QString &path, bool temporary,
                       const std::function<void(const QString &)> &connectFailed);
    // The one place a transfer locks and unlocks the window: the controls
    // that could start another printer action (or close the printer) are
    // disabled, and given back exactly as they were.
    void holdForTransfer(Transfer kind);
    void releaseTransfer();
    bool heldByTransfer(const QWidget *w) const;
    void onTransferProgress(int percent);
    void onTransferError(const QString &text);
    void onTransferFinished();
    void connectFieldRepair();

    Ui::MainWindow *ui;
    // Owners of the transports of the latest refresh; contrlNet/contrlUsb
    // point into them.
    std::unique_ptr<DeviceIoContrl_Net> m_netTransport;
    std::unique_ptr<CDeviceIOOpera> m_usbTransport;
    std::unique_ptr<DeviceIoContrl_Serial> m_serialTransport;
    // The text the model groups are read from: the list item over USB and
    // the network, the model of the identity reply on a serial line (its
    // list item names only the port).
    QString m_modelText;
    // Stop gives the refresh button back at once, but a stopped refresh can
    // still be inside its transport: the direct probe waits out the
    // identity query it has sent. A refresh asked for meanwhile must not
    // replace that transport under the running one; it is held back and
    // started as soon as the running one has ended.
    bool m_refreshRunning = false;
    bool m_refreshPending = false;
    QPointer<QLabel> m_tipLabel;
    QPointer<DistributeNet> m_distributeNet;
    WifiSettingsSnapshot m_wifiSnapshot;
    // The serial number as the printer sent it, when the page's last read
    // got it whole; the set sends back exactly these bytes, and nothing
    // when there are none (never an empty or stale number).
    std::optional<QByteArray> m_serialNumber;
    // Texts and choice bytes as the pages last read them.
    KeptBytes m_kept;
    QHash<QLineEdit *, double> m_lastDecimal;
    QHash<QLineEdit *, int> m_lastInteger;
    bool m_closing = false;
    // What start-up leaves until the window's first paint (see
    // finishAfterShowing()): scheduled, and done.
    bool m_afterShowingScheduled = false;
    bool m_finishedAfterShowing = false;
    Transfer m_transfer = Transfer::None;
    QElapsedTimer m_transferClock;
    QList<std::pair<QPointer<QWidget>, bool>> m_transferHeld;
    QList<bool> m_transferTabs;
};
