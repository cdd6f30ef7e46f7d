// The set instructions of every page. Each member only reads its widget;
// the encoding is in protocol/instructions.cpp.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "protocol/instructions.h"
#include "protocol/printer_io.h"
#include "transport/net_transport.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <QSettings>

void MainWindow::beginExchange()
{
    if (ret_mode == MediumNet)
        DeviceIoContrl_Net::connectSocket();
}

void MainWindow::endExchange()
{
    if (ret_mode == MediumNet)
        DeviceIoContrl_Net::disconnectSocket();
}

int MainWindow::sendInstruction(const QByteArray &frame, const char *name)
{
    qDebug().noquote() << name << frame.toHex(' ').toUpper();
    return SendFrame(frame, ret_mode);
}

bool MainWindow::fieldFits(const QString &fieldName, quint8 code, const QString &text)
{
    const auto type = static_cast<SetInfoType>(code);
    // Read wide, so that a number beyond 32 bits (which the builder would
    // send as 0) is refused too.
    bool isNumber = false;
    const qint64 wide = text.trimmed().toLongLong(&isNumber, 10);
    const qint64 value = isNumber ? wide : proto::parseInteger(text);
    if (proto::fieldValueFits(type, value, mmToDot))
        return true;
    const auto range = proto::fieldRange(type, mmToDot);
    showBox(QMessageBox::Information, tr("设置工具"),
            tr("%1的取值范围为%2 ~ %3，请重新输入").arg(fieldName).arg(range->min).arg(range->max));
    return false;
}

bool MainWindow::textFits(const QString &fieldName, const QString &text)
{
    if (proto::textPayloadFits(text))
        return true;
    showBox(QMessageBox::Information, tr("设置工具"),
            tr("%1过长，最多%2字节（UTF-8），请重新输入").arg(fieldName).arg(proto::kMaxTextBytes));
    return false;
}

int MainWindow::Set_Send_SPEED_Instruction()
{
    return sendInstruction(proto::speedFrame(ui->comboBox_PrintSpeed->currentIndex()), "SPEED");
}

int MainWindow::Set_Send_DEFAULT_CODE_Instruction()
{
    return sendInstruction(proto::defaultCodePageFrame(ui->comboBox_DefaultCodePage->currentIndex()),
                           "DEFAULT_CODE");
}

int MainWindow::Set_Send_SIMULATION_Instruction()
{
    return sendInstruction(proto::simulationFrame(ui->comboBox_OrderSet->currentText()), "SIMULATION");
}

int MainWindow::Set_Send_SERIAL_PORT_Instruction()
{
    return sendInstruction(proto::serialPortFrame(ui->comboBox_ComBaud->currentIndex(),
                                                  ui->comboBox_ComParityBit->currentIndex(),
                                                  ui->comboBox_ComDataBit->currentIndex(),
                                                  ui->comboBox_ComStopBit->currentIndex()),
                           "SERIAL_PORT");
}

int MainWindow::Set_Send_PORT_MESSAGE_Instruction()
{
    return sendInstruction(proto::portMessageFrame(ui->lineEdit_NetportTCPPort->text(),
                                                   ui->lineEdit_NetportUDPPort->text()),
                           "PORT_MESSAGE");
}

int MainWindow::Set_Send_SN_Instruction()
{
    return sendInstruction(proto::serialNumberFrame(ui->lineEdit_ComSN->text()), "SN");
}

int MainWindow::Set_Send_Densty_SETTING_Instruction()
{
    return sendInstruction(proto::densityFrame(ui->comboBox_PrintDensty->currentIndex()), "Densty_SETTING");
}

int MainWindow::Set_Send_PAPER_TYPE_Instruction()
{
    return sendInstruction(proto::paperTypeFrame(ui->comboBox_PaperType->currentIndex()), "PAPER_TYPE");
}

int MainWindow::Set_Send_LABEL_SIZE_Instruction()
{
    const QString heightText = ui->lineEdit_2->text().trimmed();
    const QString widthText = ui->lineEdit->text().trimmed();
    // Remembered before any check: the fields come back as typed next run.
    QSettings settings(QStringLiteral("Company"), QStringLiteral("App"));
    settings.setValue(QStringLiteral("lineEdit_2_text"), heightText);
    settings.setValue(QStringLiteral("lineEdit_text"), widthText);

    const proto::LabelSizeFrame size = proto::labelSizeFrame(heightText, widthText, mmToDot);
    if (size.error == proto::LabelSizeError::InvalidText) {
        qWarning() << "尺寸输入非法:" << heightText << widthText;
        return -1;
    }
    if (size.error == proto::LabelSizeError::InvalidFactor) {
        qWarning() << "mmToDot 非法:" << mmToDot;
        return -1;
    }
    qDebug() << "label size dots:" << size.heightDots << size.widthDots << "mmToDot:" << mmToDot;
    qDebug().noquote() << "SEND:" << size.frame.toHex(' ').toUpper();
    return SendFrame(size.frame, ret_mode);
}

int MainWindow::Set_Send_LABLE_CLEARANCE_Instruction()
{
    return sendInstruction(proto::labelGapFrame(ui->lineEdit_LabelGap->text(), mmToDot), "LABLE_CLEARANCE");
}

int MainWindow::Set_Send_BLACK_CLEARANCE_Instruction()
{
    return sendInstruction(proto::blackMarkGapFrame(ui->lineEdit_BlackLabelGap->text(), mmToDot),
                           "BLACK_CLEARANCE");
}

int MainWindow::Set_Send_PRINT_DIRECTION_Instruction()
{
    return sendInstruction(proto::printDirectionFrame(ui->comboBox_PrintDirection->currentIndex(),
                                                      ui->comboBox_PrintMethod->currentIndex()),
                           "PRINT_DIRECTION");
}

int MainWindow::Set_Send_PRINT_OFFSET_Instruction()
{
    return sendInstruction(proto::printOffsetFrame(ui->lineEdit_PrintShift->text(), mmToDot), "PRINT_OFFSET");
}

int MainWindow::Set_Send_VERTICAL_MIGRATION_Instruction()
{
    return sendInstruction(proto::verticalOffsetFrame(ui->lineEdit_VerticalShift->text(), mmToDot),
                           "VERTICAL_MIGRATION");
}

int MainWindow::Set_Send_CONNECT_AP_INFORMATION_Instruction()
{
    return sendInstruction(proto::stationFrame(ui->lineEdit_WStaName->text(), ui->lineEdit_WStaPassword->text()),
                           "CONNECT_AP_INFORMATION");
}

int MainWindow::Set_Send_AP_MODE_Instruction()
{
    return sendInstruction(proto::accessPointFrame(ui->lineEdit_WApName->text(), ui->lineEdit_WApPassword->text(),
                                                   ui->lineEdit_WApIP->text()),
                           "AP_MODE");
}

int MainWindow::Set_Send_IP_MESSAGE_Instruction()
{
    return sendInstruction(proto::wifiIpFrame(ui->comboBox_WifiSetIPMode->currentIndex(),
                                              ui->lineEdit_WifiSetIP->text(), ui->lineEdit_WifiSetSubnetMask->text(),
                                              ui->lineEdit_WifiSetGateway->text(), ui->lineEdit_WifiSetDNS->text()),
                           "IP_MESSAGE");
}

int MainWindow::Set_Send_TCP_SERVICE_PORT_NUMBER_Instruction()
{
    return sendInstruction(proto::tcpServicePortFrame(ui->lineEdit_WApPort->text()), "TCP_SERVICE_PORT_NUMBER");
}

int MainWindow::Set_Send_BR_EDR_NAME_Instruction()
{
    return sendInstruction(proto::brEdrNameFrame(ui->lineEdit_SppName->text()), "BR_EDR_NAME");
}

int MainWindow::Set_Send_BLE_NAME_Instruction()
{
    return sendInstruction(proto::bleNameFrame(ui->lineEdit_SppBLE->text()), "BLE_NAME");
}

int MainWindow::Set_Send_PIN_Instruction()
{
    return sendInstruction(proto::pinFrame(ui->lineEdit_SppPin->text()), "PIN");
}

int MainWindow::Set_Send_SPP_MODE_Instruction()
{
    return sendInstruction(proto::sppModeFrame(ui->comboBox_SppMode->currentIndex()), "SPP_MODE");
}

int MainWindow::Set_Send_WIFI_MODE_Instruction()
{
    return sendInstruction(proto::wifiModeFrame(ui->comboBox_WifiMode->currentIndex()), "WIFI_MODE");
}

int MainWindow::Set_Send_THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT_Instruction()
{
    return sendInstruction(proto::paperEdgeDistanceFrame(ui->lineEdit_DistanceO2PH->text()),
                           "THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT");
}

int MainWindow::Set_Send_SEAM_TO_PRINT_HRAD_DISTANCE_Instruction()
{
    return sendInstruction(proto::seamDistanceFrame(ui->lineEdit_DistanceS2PH->text(), mmToDot),
                           "SEAM_TO_PRINT_HRAD_DISTANCE");
}

int MainWindow::Set_Send_BLACK_TO_PRINT_HEAD_DISTANCE_Instruction()
{
    return sendInstruction(proto::blackMarkDistanceFrame(ui->lineEdit_DistanceB2PH->text(), mmToDot),
                           "BLACK_TO_PRINT_HEAD_DISTANCE");
}

int MainWindow::Set_Send_PRINT_HEAD_TO_TEAR_DISTANCE_Instruction()
{
    return sendInstruction(proto::tearDistanceFrame(ui->lineEdit_DistancePH2T->text()),
                           "PRINT_HEAD_TO_TEAR_DISTANCE");
}

int MainWindow::Set_Send_LG_MODE_Instruction()
{
    return sendInstruction(proto::languageFrame(ui->comboBox->currentIndex()), "LG_MODE");
}

int MainWindow::Set_PRINTER_MODE_Instruction()
{
    return sendInstruction(proto::printerModeFrame(ui->comboBox_PrintMode->currentIndex()), "PRINTER_MODE");
}

int MainWindow::Set_AUTO_PAPER_Instruction()
{
    return sendInstruction(proto::autoPaperFrame(ui->comboBox_AutoPaper->currentIndex()), "AUTO_PAPER");
}

int MainWindow::Set_Send_CUT_DIS_Instruction()
{
    return sendInstruction(proto::paperTakeTimeFrame(ui->lineEdit_PaperTime->text()), "CUT_DIS");
}

int MainWindow::Net_Set()
{
    return sendInstruction(proto::ethernetIpFrame(ui->comboBox_NetportIPMode->currentIndex(),
                                                  ui->lineEdit_NetportIP->text(),
                                                  ui->lineEdit_NetportSubnetMask->text(),
                                                  ui->lineEdit_NetportGateway->text()),
                           "Net_Set");
}
