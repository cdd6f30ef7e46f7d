// Ethernet page ("网口设置"): the wired interface's DHCP mode, address,
// subnet mask and gateway, and the printer's TCP and UDP ports. A set always
// sends the whole page, as two instructions.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>

void MainWindow::on_pushButton_NetportSettingRead_clicked()
{
    readPage({.lock = PageFlow::Lock::AfterCheck}, ui->pushButton_NetportSettingSet, [this] { return Net_Init(); });
}

int MainWindow::Net_Init()
{
    settings::Values v;
    const auto value = [&v](const char *key) { return v.value(QString::fromLatin1(key)); };
    // The ports are shown when they could be read; only the address block
    // decides the page's result.
    if (ReadSetting(PORT_MESSAGE, openModel(), v, ret_mode) == 0) {
        ui->lineEdit_NetportTCPPort->setText(value("ethernet.tcp_port"));
        ui->lineEdit_NetportUDPPort->setText(value("ethernet.udp_port"));
    }
    if (const int result = ReadSetting(ETHERNET_IP, openModel(), v, ret_mode); result != 0)
        return result;
    ui->comboBox_NetportIPMode->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("ethernet.mode")));
    ui->lineEdit_NetportIP->setText(value("ethernet.address"));
    ui->lineEdit_NetportSubnetMask->setText(value("ethernet.subnet_mask"));
    ui->lineEdit_NetportGateway->setText(value("ethernet.gateway"));
    qDebug() << "ip" << ui->lineEdit_NetportIP->text();
    qDebug() << "numString:" << ui->lineEdit_NetportSubnetMask->text();
    qDebug() << "sumString:" << ui->lineEdit_NetportGateway->text();
    return 0;
}

void MainWindow::on_pushButton_NetportSettingSet_clicked()
{
    // Refused too: a TCP port of 0 (empty) and, without DHCP, an address
    // of 0.0.0.0 (empty): the printer could not be reached.
    const auto addressSet = [this] {
        const settings::Setting *mode = settings::find(QStringLiteral("ethernet.mode"));
        const settings::Values block{{mode->key, mode->choices.value(ui->comboBox_NetportIPMode->currentIndex())},
                                     {QStringLiteral("ethernet.address"), ui->lineEdit_NetportIP->text()}};
        if (settings::checkInstruction(ETHERNET_IP, block, openModel()).isEmpty())
            return true;
        showBox(QMessageBox::Information, tr("设置工具"),
                tr("DHCP OFF时%1不能为空或0.0.0.0，请重新输入").arg(fieldNameOf(tr("IP:"))));
        return false;
    };
    const auto valuesFit = [this, addressSet] {
        return addressFits(fieldNameOf(tr("IP:")), ui->lineEdit_NetportIP->text())
            && addressFits(fieldNameOf(tr("子网掩码：")), ui->lineEdit_NetportSubnetMask->text())
            && addressFits(fieldNameOf(tr("网关地址：")), ui->lineEdit_NetportGateway->text()) && addressSet()
            && settingFits(fieldNameOf(tr("TCP端口:")), "ethernet.tcp_port", ui->lineEdit_NetportTCPPort->text())
            && settingFits(fieldNameOf(tr("UDP端口:")), "ethernet.udp_port", ui->lineEdit_NetportUDPPort->text());
    };
    const std::optional<int> result = runOnPrinter({.proceed = valuesFit}, [this] {
        return firstFailure({Net_Set(), Set_Send_PORT_MESSAGE_Instruction()});
    });
    if (!result)
        return;
    if (*result == 0)
        fillWiredConnectionPorts();
    // A connection over the wired network would outlive the settings it
    // was made with.
    if (reportRestartNeeded(*result) && ui->checkBox_NET->isChecked())
        on_pushButton_close_clicked(false);
}
