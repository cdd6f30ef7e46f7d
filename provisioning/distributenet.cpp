#include "provisioning/distributenet.h"
#include "provisioning/wifi_list.h"
#include "ui_distributenet.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Scanning starts once the window is on screen, so that it shows at once.
constexpr int kScanDelayMs = 50;
const QColor kCurrentBackground(255, 234, 5);
// Where a list item keeps the name's own bytes (see WifiInfo::ssidBytes).
constexpr int kBytesRole = Qt::UserRole + 1;

} // namespace

DistributeNet::DistributeNet(QWidget *parent, std::shared_ptr<WifiScanner> scanner)
    : QMainWindow(parent)
    , ui(new Ui::DistributeNet)
    , m_scanner(std::move(scanner))
{
    ui->setupUi(this);
    setWindowTitle(tr("WIFI配网"));
    ui->linePassword->setEchoMode(QLineEdit::Password);
    ui->linePassword->setPlaceholderText(tr("请输入WiFi密码"));
    ui->lineSsidManual->setEnabled(false);
    ui->labelManualSsid->setEnabled(false);
    ui->labelScanStatus->hide();
}

DistributeNet::~DistributeNet()
{
    cleanupWatchers();
    delete ui;
}

void DistributeNet::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    QTimer::singleShot(kScanDelayMs, this, &DistributeNet::refreshWifiList);
}

void DistributeNet::closeEvent(QCloseEvent *event)
{
    cleanupWatchers();
    emit closed();
    event->accept();
}

void DistributeNet::cleanupWatchers()
{
    if (!m_watcher)
        return;
    m_watcher->disconnect(this);
    m_watcher->cancel();
    m_watcher->waitForFinished();
    delete m_watcher;
    m_watcher = nullptr;
}

void DistributeNet::setSendAllowed(bool allowed)
{
    ui->btnSetNet->setEnabled(allowed);
}

void DistributeNet::on_btnRefresh_clicked()
{
    ui->lineSsidManual->clear();
    refreshWifiList();
}

void DistributeNet::refreshWifiList()
{
    cleanupWatchers();
    ui->btnRefresh->setEnabled(false);
    ui->btnRefresh->setText(tr("扫描中..."));
    ui->listWifi->clear();
    ui->linePassword->clear();
    ui->labelScanStatus->hide();
    m_currentSsid.clear();
    // Let the caption show before the scan takes the time it takes.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_watcher = new QFutureWatcher<WifiScan>(this);
    connect(m_watcher, &QFutureWatcher<WifiScan>::finished, this, &DistributeNet::handleScanFinished);
    m_watcher->setFuture(QtConcurrent::run(&DistributeNet::scanAvailableWifis, m_scanner));
}

WifiScan DistributeNet::scanAvailableWifis(const std::shared_ptr<WifiScanner> &scanner)
{
    return scanner->scan();
}

QString DistributeNet::emptyListReason(WifiScan::Outcome outcome) const
{
    switch (outcome) {
    case WifiScan::Outcome::NoService:
        return tr("本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称");
    case WifiScan::Outcome::NoDevice:
        return tr("本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称");
    case WifiScan::Outcome::WifiOff:
        return tr("本机WiFi未开启，无法扫描，请选择手动输入WiFi名称");
    case WifiScan::Outcome::NoAnswer:
        return tr("NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称");
    case WifiScan::Outcome::Listed:
        break;
    }
    return tr("未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称");
}

void DistributeNet::handleScanFinished()
{
    if (!m_watcher)
        return;
    const WifiScan scan = m_watcher->result();
    QList<WifiInfo> networks = uniqueNetworks(scan.networks);
    sortWifiList(networks);

    ui->listWifi->clear();
    for (const WifiInfo &info : std::as_const(networks)) {
        // Names come from the air: list items show them as plain text.
        auto *item = new QListWidgetItem(ui->listWifi);
        item->setData(Qt::UserRole, info.ssid);
        item->setData(kBytesRole, info.bytes());
        if (info.isCurrent) {
            item->setText(info.ssid + QStringLiteral("   ") + tr("(当前连接)"));
            item->setBackground(kCurrentBackground);
            m_currentSsid = info.ssid;
        } else {
            item->setText(info.ssid);
        }
    }
    ui->labelScanStatus->setText(emptyListReason(scan.outcome));
    ui->labelScanStatus->setVisible(networks.isEmpty());
    // In manual mode the list is filled for later, but the name and
    // password being typed stay, and so does the mode's locked refresh.
    if (!networks.isEmpty() && !manualMode) {
        ui->listWifi->setCurrentRow(0);
        ui->lineSsidManual->setText(ui->listWifi->item(0)->data(Qt::UserRole).toString());
    }
    ui->btnRefresh->setEnabled(!manualMode);
    ui->btnRefresh->setText(tr("刷新列表"));
    m_watcher->deleteLater();
    m_watcher = nullptr;
}

void DistributeNet::on_listWifi_itemClicked(QListWidgetItem *item)
{
    if (manualMode)
        return;
    ui->lineSsidManual->setText(item->data(Qt::UserRole).toString());
    ui->linePassword->clear();
}

void DistributeNet::on_checkManualMode_toggled(bool checked)
{
    manualMode = checked;
    ui->listWifi->setEnabled(!checked);
    ui->btnRefresh->setEnabled(!checked && !m_watcher);
    ui->lineSsidManual->setEnabled(checked);
    ui->labelManualSsid->setEnabled(checked);
    if (checked) {
        ui->lineSsidManual->clear();
        ui->lineSsidManual->setFocus();
    } else {
        const QListWidgetItem *item = ui->listWifi->currentItem();
        ui->lineSsidManual->setText(item ? item->data(Qt::UserRole).toString() : QString());
    }
    ui->linePassword->clear();
}

void DistributeNet::on_checkShowPassword_toggled(bool checked)
{
    ui->linePassword->setEchoMode(checked ? QLineEdit::Normal : QLineEdit::Password);
}

void DistributeNet::on_lineSsidManual_textChanged(const QString &)
{
    // A different network needs its own password.
    if (manualMode)
        ui->linePassword->clear();
}

void DistributeNet::on_btnSetNet_clicked()
{
    const QString ssid = ui->lineSsidManual->text().trimmed();
    const QString password = ui->linePassword->text().trimmed();
    if (ssid.isEmpty()) {
        if (manualMode) {
            QMessageBox::warning(this, tr("WIFI配网"), tr("请输入WiFi名称"));
            ui->lineSsidManual->setFocus();
        } else {
            QMessageBox::warning(this, tr("WIFI配网"), ui->listWifi->count() == 0
                                                          ? tr("请刷新列表，或选择手动输入WiFi名称")
                                                          : tr("请选择一个WiFi"));
        }
        return;
    }
    // A listed network goes out as its own bytes (a name that is not UTF-8
    // shows replacement characters), a typed name as UTF-8.
    const QListWidgetItem *item = ui->listWifi->currentItem();
    const bool listed = !manualMode && item && item->data(Qt::UserRole).toString() == ssid;
    // An empty password is passed on: open networks have none.
    emit wifiCredReady({true, ssid, password, listed ? item->data(kBytesRole).toByteArray() : ssid.toUtf8()});
}
