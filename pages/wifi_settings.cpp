// Wi-Fi page: the operating mode (station or access point), the network the
// printer joins as a station, the one it offers as an access point, its TCP
// service port and MAC address, and the group of its wireless IP addressing.
// A set sends only what changed since the last read or set, with pauses in
// between, during which the printer brings its wireless side up again.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/instructions.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <array>
#include <utility>

namespace {

// What the printer needs after each instruction before it takes the next.
constexpr int kAfterModeMs = 1000;
constexpr int kAfterNetworkMs = 1000;
constexpr int kAfterPortMs = 500;
constexpr int kAfterAllMs = 100;

} // namespace

void MainWindow::on_pushButton_WifiSettingRead_clicked()
{
    const bool accepted = readPage({.lock = PageFlow::Lock::BeforeCheck}, ui->pushButton_WifiSettingSet, [this] {
        const int result = Wifi_Init();
        qDebug("wifi ret = %d", result);
        return result;
    });
    if (accepted)
        m_wifiSnapshot = wifiPageValues();
}

int MainWindow::Wifi_Init()
{
    const int failure = mediumFailure(ret_mode);
    settings::Values v;
    const auto value = [&v](const char *key) { return v.value(QString::fromLatin1(key)); };
    QByteArray payload;
    const auto query = [&](SetInfoType type) { return ReadSetting(type, openModel(), v, ret_mode, &payload); };
    if (query(WIFI_MODE) != 0)
        return failure;

    // Only 1 means station; the printer reports anything else as an access
    // point. The access-point query alone does not end the read when it
    // fails: only a malformed answer is reported, after the rest is read.
    int apResult = Result::Ok;
    if (value("wifi.mode") == QLatin1String("sta")) {
        ui->comboBox_WifiMode->setCurrentIndex(0);
        if (query(CONNECT_AP_INFORMATION) != 0)
            return failure;
        m_kept.keepTexts({"wifi.sta.ssid", "wifi.sta.password"}, payload);
        ui->lineEdit_WStaName->setText(value("wifi.sta.ssid"));
        ui->lineEdit_WStaPassword->setText(value("wifi.sta.password"));
        ui->lineEdit_WApName->clear();
        ui->lineEdit_WApPassword->clear();
        ui->lineEdit_WApIP->clear();
        qDebug() << "password length:" << value("wifi.sta.password").size();
        qDebug() << "nameString:" << value("wifi.sta.ssid");
    } else {
        ui->comboBox_WifiMode->setCurrentIndex(kWifiApIndex);
        apResult = query(AP_MODE);
        if (apResult == Result::Ok) {
            m_kept.keepTexts({"wifi.ap.ssid", "wifi.ap.password"}, payload);
            ui->lineEdit_WApName->setText(value("wifi.ap.ssid"));
            ui->lineEdit_WApPassword->setText(value("wifi.ap.password"));
            ui->lineEdit_WApIP->setText(value("wifi.ap.ip"));
            ui->lineEdit_WStaName->clear();
            ui->lineEdit_WStaPassword->clear();
            qDebug() << "nameString:" << value("wifi.ap.ssid");
            qDebug() << "password length:" << value("wifi.ap.password").size();
            qDebug() << "ipString:" << value("wifi.ap.ip");
        }
    }

    if (query(TCP_SERVICE_PORT_NUMBER) != 0)
        return failure;
    ui->lineEdit_WApPort->setText(value("wifi.tcp_port"));
    if (query(MAC_ADDRESSES) != 0)
        return failure;
    ui->lineEdit_WApMAC->setText(value("wifi.mac"));

    // The IP group shows what it could read; the page's result does not
    // depend on it.
    IP_Init();
    return apResult == Result::MalformedReply ? failure : Result::Ok;
}

int MainWindow::IP_Init()
{
    settings::Values v;
    const auto value = [&v](const char *key) { return v.value(QString::fromLatin1(key)); };
    if (ReadSetting(IP_MESSAGE, openModel(), v, ret_mode) != 0)
        return mediumFailure(ret_mode);
    // With DHCP on the printer is told its DNS server by the network: the
    // field is shown, but not for editing, and keeps what it showed.
    const bool dhcp = value("ip.mode") == QLatin1String("dhcp");
    ui->comboBox_WifiSetIPMode->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("ip.mode")));
    ui->lineEdit_WifiSetDNS->setEnabled(!dhcp);
    ui->lineEdit_WifiSetIP->setText(value("ip.address"));
    ui->lineEdit_WifiSetSubnetMask->setText(value("ip.subnet_mask"));
    ui->lineEdit_WifiSetGateway->setText(value("ip.gateway"));
    qDebug() << "ip" << ui->lineEdit_WifiSetIP->text();
    qDebug() << "numString:" << ui->lineEdit_WifiSetSubnetMask->text();
    qDebug() << "sumString:" << ui->lineEdit_WifiSetGateway->text();
    if (!dhcp) {
        ui->lineEdit_WifiSetDNS->setText(value("ip.dns"));
        qDebug() << "DNSString:" << ui->lineEdit_WifiSetDNS->text();
    }
    return Result::Ok;
}

WifiSettingsSnapshot MainWindow::wifiPageValues() const
{
    WifiSettingsSnapshot values;
    values.wifiMode = ui->comboBox_WifiMode->currentIndex();
    values.staName = ui->lineEdit_WStaName->text();
    values.staPassword = ui->lineEdit_WStaPassword->text();
    values.apName = ui->lineEdit_WApName->text();
    values.apPassword = ui->lineEdit_WApPassword->text();
    values.apIp = ui->lineEdit_WApIP->text();
    values.tcpPort = ui->lineEdit_WApPort->text();
    values.ipMode = ui->comboBox_WifiSetIPMode->currentIndex();
    values.ip = ui->lineEdit_WifiSetIP->text();
    values.subnetMask = ui->lineEdit_WifiSetSubnetMask->text();
    values.gateway = ui->lineEdit_WifiSetGateway->text();
    values.dns = ui->lineEdit_WifiSetDNS->text();
    return values;
}

bool MainWindow::wifiInputFits(const WifiChanges &changes)
{
    const bool ap = ui->comboBox_WifiMode->currentIndex() == kWifiApIndex;
    if (apPasswordTooShort(changes, ap, ui->lineEdit_WApPassword->text())) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("AP模式的wifi密码最少为8位"));
        return false;
    }
    // The texts of one network share one payload: each may take what the
    // texts before it and one 00 for each after it leave.
    const auto textsFit = [this](const QString &group, const QList<std::pair<QString, QByteArray>> &texts) {
        int before = 0;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QByteArray &bytes = texts[i].second;
            if (!textFits(group + ' ' + fieldNameOf(texts[i].first), bytes, before + int(texts.size() - 1 - i)))
                return false;
            before += int(bytes.size()) + 1;
        }
        return true;
    };
    const QString name = tr("wifi名称："), password = tr("wifi密码：");
    if (changes.credentials && ap) {
        // An empty field sends the printer's usual address; one with an
        // empty part ("192.168..1") is no address.
        const QString address = proto::accessPointAddress(ui->lineEdit_WApIP->text());
        if (!settingFits(fieldNameOf(tr(" AP_IP:")), "wifi.ap.ip", address)
            || !textsFit(tr("AP模式"), {{name, keptText("wifi.ap.ssid", ui->lineEdit_WApName)},
                                        {password, keptText("wifi.ap.password", ui->lineEdit_WApPassword)},
                                        {tr(" AP_IP:"), address.toUtf8()}}))
            return false;
    }
    if (changes.credentials && !ap
        && !textsFit(tr("STA模式"), {{name, keptText("wifi.sta.ssid", ui->lineEdit_WStaName)},
                                     {password, keptText("wifi.sta.password", ui->lineEdit_WStaPassword)}}))
        return false;
    // Port 0 would leave the printer unreachable.
    if (changes.port && !settingFits(fieldNameOf(tr("TCP端口号：")), "wifi.tcp_port", ui->lineEdit_WApPort->text()))
        return false;
    if (!changes.ip)
        return true;
    return addressFits(fieldNameOf(tr("IP:")), ui->lineEdit_WifiSetIP->text())
        && addressFits(fieldNameOf(tr("子网掩码：")), ui->lineEdit_WifiSetSubnetMask->text())
        && addressFits(fieldNameOf(tr("网关地址：")), ui->lineEdit_WifiSetGateway->text())
        && addressFits(fieldNameOf(tr("DNS:")), ui->lineEdit_WifiSetDNS->text());
}

void MainWindow::on_pushButton_WifiSettingSet_clicked()
{
    const WifiChanges changes = wifiChanges(m_wifiSnapshot, wifiPageValues());
    // Locked from the first frame to the last pause: a second exchange must
    // not start while the printer is still taking this one in.
    const PageFlow flow{.lock = PageFlow::Lock::AfterCheck, .proceed = [&] { return wifiInputFits(changes); }};
    const std::optional<int> result = runOnPrinter(flow, [&] {
        std::array<int, 4> slot{};
        if (changes.mode) {
            slot[0] = Set_Send_WIFI_MODE_Instruction();
            pause(kAfterModeMs);
        }
        if (changes.credentials) {
            slot[1] = ui->comboBox_WifiMode->currentIndex() == kWifiApIndex
                          ? Set_Send_AP_MODE_Instruction()
                          : Set_Send_CONNECT_AP_INFORMATION_Instruction();
            pause(kAfterNetworkMs);
        }
        if (changes.port) {
            slot[2] = Set_Send_TCP_SERVICE_PORT_NUMBER_Instruction();
            pause(kAfterPortMs);
        }
        if (changes.ip)
            slot[3] = Set_Send_IP_MESSAGE_Instruction();
        pause(kAfterAllMs);
        return firstFailure(slot);
    });
    if (!result)
        return;
    if (*result == Result::Ok)
        fillWifiConnectionFields();
    if (!reportRestartNeeded(*result))
        return;
    m_wifiSnapshot = wifiPageValues();
    // The printer's wireless link is about to change under a connection
    // over it.
    if (changes.any() && ui->checkBox_WIFI->isChecked())
        on_pushButton_close_clicked(false);
}
