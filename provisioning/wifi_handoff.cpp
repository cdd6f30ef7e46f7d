// Hand-off of provisioned credentials: the provisioning window delivers a
// network name and password, and the main window makes the printer join
// that network as a station. Only the mode (when the printer is not known
// to be a station already) and the station network are sent; the page's
// other settings and the connection to the printer stay as they are.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/result.h"
#include "provisioning/distributenet.h"

#include <QDebug>

namespace {

constexpr int kStationIndex = 0;
// The printer restarts its wireless side after a mode change, and needs a
// moment after the station network before the next exchange.
constexpr int kAfterModeMs = 1000;
constexpr int kAfterStationMs = 200;

} // namespace

void MainWindow::on_pushButton_NetSetup_clicked()
{
    if (!deviceOpen()) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("请先打开设备"));
        return;
    }
    if (m_distributeNet) {
        m_distributeNet->setWindowState((m_distributeNet->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        m_distributeNet->raise();
        m_distributeNet->activateWindow();
        return;
    }
    // A window of its own, not a child: it must not keep the program
    // running once the main window is gone.
    m_distributeNet = new DistributeNet(nullptr);
    m_distributeNet->setAttribute(Qt::WA_QuitOnClose, false);
    connect(m_distributeNet, &DistributeNet::closed, this, &MainWindow::wifiToNetClosed);
    connect(m_distributeNet, &DistributeNet::wifiCredReady, this, &MainWindow::onWifiCredReceived);
    m_distributeNet->setSendAllowed(m_transfer == Transfer::None);
    m_distributeNet->show();
}

void MainWindow::wifiToNetClosed()
{
    show();
    if (!m_distributeNet)
        return;
    m_distributeNet->hide();
    m_distributeNet->deleteLater();
    m_distributeNet = nullptr;
}

void MainWindow::endProvisioning()
{
    delete m_distributeNet;
}

void MainWindow::onWifiCredReceived(const WifiCred &cred)
{
    qDebug() << "收到WiFi凭证 - SSID:" << cred.ssid << "password length:" << cred.password.size();
    // Its frames would land inside the stream, and its unlock would free
    // the transfer's controls.
    if (m_transfer != Transfer::None) {
        qDebug("A transfer holds the printer: the credentials are not sent");
        return;
    }
    // Name and password share the station frame's payload: each may take
    // what the other and the two 00s leave.
    // The name goes out as the network has it (see WifiCred).
    const QByteArray name = cred.ssidBytes.isEmpty() ? cred.ssid.toUtf8() : cred.ssidBytes;
    const auto fits = [&] {
        const QString group = tr("STA模式") + ' ';
        return textFits(group + fieldNameOf(tr("wifi名称：")), name, 1)
            && textFits(group + fieldNameOf(tr("wifi密码：")), cred.password.toUtf8(), int(name.size()) + 1);
    };
    bool modeFailed = false;
    // The provisioning window takes no input while its credentials go out.
    if (m_distributeNet)
        m_distributeNet->setEnabled(false);
    const std::optional<int> result = runOnPrinter({.lock = PageFlow::Lock::AfterCheck, .proceed = fits}, [&] {
        ui->comboBox_WifiMode->setCurrentIndex(kStationIndex);
        ui->lineEdit_WStaName->setText(cred.ssid);
        m_kept.keepText(QStringLiteral("wifi.sta.ssid"), name);
        ui->lineEdit_WStaPassword->setText(cred.password);
        // Before any Wi-Fi read the printer's mode is unknown (-1): send it.
        if (m_wifiSnapshot.wifiMode != kStationIndex) {
            const int mode = Set_Send_WIFI_MODE_Instruction();
            pause(kAfterModeMs);
            if (mode != Result::Ok) {
                modeFailed = true;
                return mode;
            }
        }
        const int station = Set_Send_CONNECT_AP_INFORMATION_Instruction();
        pause(kAfterStationMs);
        if (station == Result::Ok) {
            m_wifiSnapshot.wifiMode = ui->comboBox_WifiMode->currentIndex();
            m_wifiSnapshot.staName = ui->lineEdit_WStaName->text();
            m_wifiSnapshot.staPassword = ui->lineEdit_WStaPassword->text();
        }
        return station;
    });
    if (m_distributeNet)
        m_distributeNet->setEnabled(true);
    if (!result)
        return;
    Ret_Handler(*result);
    // A failed mode change leaves the window open for another try; after
    // the station network it closes whatever the printer answered.
    if (!modeFailed)
        wifiToNetClosed();
}
