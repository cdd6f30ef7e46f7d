// The set instructions of every page. Each member only reads its widget;
// the encoding is in protocol/instructions.cpp.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/instructions.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "ui/label_size_memory.h"
#include "ui/shared_state.h"

#include <QDebug>

int MainWindow::Set_Send_SPEED_Instruction()
{
    return SendFrame(proto::speedFrame(keptChoice("print.speed", ui->comboBox_PrintSpeed)), ret_mode);
}

int MainWindow::Set_Send_DEFAULT_CODE_Instruction()
{
    return SendFrame(proto::defaultCodePageFrame(keptChoice("print.code_page", ui->comboBox_DefaultCodePage)), ret_mode);
}

int MainWindow::Set_Send_SIMULATION_Instruction()
{
    return SendFrame(proto::simulationFrame(ui->comboBox_OrderSet->currentText()), ret_mode);
}

int MainWindow::Set_Send_SERIAL_PORT_Instruction()
{
    return SendFrame(proto::serialPortFrame(keptChoice("serial.baud", ui->comboBox_ComBaud),
                                            keptChoice("serial.parity", ui->comboBox_ComParityBit),
                                            keptChoice("serial.data_bits", ui->comboBox_ComDataBit),
                                            keptChoice("serial.stop_bits", ui->comboBox_ComStopBit)), ret_mode);
}

int MainWindow::Set_Send_PORT_MESSAGE_Instruction()
{
    return SendFrame(proto::portMessageFrame(ui->lineEdit_NetportTCPPort->text(),
                                                   ui->lineEdit_NetportUDPPort->text()), ret_mode);
}

int MainWindow::Set_Send_SN_Instruction()
{
    // The serial number goes back byte for byte as the printer sent it:
    // decoding and re-encoding would corrupt one that is not UTF-8.
    if (!m_serialNumber)
        return Result::Ok;
    return SendFrame(proto::serialNumberFrame(*m_serialNumber), ret_mode);
}

int MainWindow::Set_Send_Densty_SETTING_Instruction()
{
    return SendFrame(proto::densityFrame(keptChoice("print.density", ui->comboBox_PrintDensty)), ret_mode);
}

int MainWindow::Set_Send_PAPER_TYPE_Instruction()
{
    return SendFrame(proto::paperTypeFrame(ui->comboBox_PaperType->currentIndex()), ret_mode);
}

int MainWindow::Set_Send_LABEL_SIZE_Instruction()
{
    const QString heightText = ui->lineEdit_2->text().trimmed();
    const QString widthText = ui->lineEdit->text().trimmed();
    // Remembered before any check: the fields come back as typed next run.
    labelsize::remember(heightText, widthText);

    const proto::LabelSizeFrame size = proto::labelSizeFrame(heightText, widthText, mmToDot);
    if (size.error == proto::LabelSizeError::InvalidText) {
        qWarning() << "尺寸输入非法:" << heightText << widthText;
        return Result::NoTransport;
    }
    if (size.error == proto::LabelSizeError::InvalidFactor) {
        qWarning() << "mmToDot 非法:" << mmToDot;
        return Result::NoTransport;
    }
    qDebug() << "label size dots:" << size.heightDots << size.widthDots << "mmToDot:" << mmToDot;
    return SendFrame(size.frame, ret_mode);
}

int MainWindow::Set_Send_LABLE_CLEARANCE_Instruction()
{
    return SendFrame(proto::labelGapFrame(ui->lineEdit_LabelGap->text(), mmToDot), ret_mode);
}

int MainWindow::Set_Send_BLACK_CLEARANCE_Instruction()
{
    return SendFrame(proto::blackMarkGapFrame(ui->lineEdit_BlackLabelGap->text(), mmToDot), ret_mode);
}

int MainWindow::Set_Send_PRINT_DIRECTION_Instruction()
{
    return SendFrame(proto::printDirectionFrame(ui->comboBox_PrintDirection->currentIndex(),
                                                      ui->comboBox_PrintMethod->currentIndex()), ret_mode);
}

int MainWindow::Set_Send_PRINT_OFFSET_Instruction()
{
    return SendFrame(proto::printOffsetFrame(ui->lineEdit_PrintShift->text(), mmToDot), ret_mode);
}

int MainWindow::Set_Send_VERTICAL_MIGRATION_Instruction()
{
    return SendFrame(proto::verticalOffsetFrame(ui->lineEdit_VerticalShift->text(), mmToDot), ret_mode);
}

// Names and passwords go back as the printer sent them unless edited (see
// KeptBytes).
int MainWindow::Set_Send_CONNECT_AP_INFORMATION_Instruction()
{
    const QByteArray frame = proto::textBytesSettingFrame(CONNECT_AP_INFORMATION,
        {keptText("wifi.sta.ssid", ui->lineEdit_WStaName), keptText("wifi.sta.password", ui->lineEdit_WStaPassword)});
    return SendSettingFrame(frame, CONNECT_AP_INFORMATION, {{"wifi.sta.password", ui->lineEdit_WStaPassword->text()}},
                            ret_mode);
}

int MainWindow::Set_Send_AP_MODE_Instruction()
{
    const QByteArray frame = proto::textBytesSettingFrame(AP_MODE,
        {keptText("wifi.ap.ssid", ui->lineEdit_WApName), keptText("wifi.ap.password", ui->lineEdit_WApPassword),
         proto::accessPointAddress(ui->lineEdit_WApIP->text()).toUtf8()});
    return SendSettingFrame(frame, AP_MODE, {{"wifi.ap.password", ui->lineEdit_WApPassword->text()}}, ret_mode);
}

int MainWindow::Set_Send_IP_MESSAGE_Instruction()
{
    return SendFrame(proto::wifiIpFrame(ui->comboBox_WifiSetIPMode->currentIndex(),
                                              ui->lineEdit_WifiSetIP->text(), ui->lineEdit_WifiSetSubnetMask->text(),
                                              ui->lineEdit_WifiSetGateway->text(), ui->lineEdit_WifiSetDNS->text()), ret_mode);
}

int MainWindow::Set_Send_TCP_SERVICE_PORT_NUMBER_Instruction()
{
    return SendFrame(proto::tcpServicePortFrame(ui->lineEdit_WApPort->text()), ret_mode);
}

int MainWindow::Set_Send_BR_EDR_NAME_Instruction()
{
    return SendFrame(proto::textBytesSettingFrame(BR_EDR_NAME, {keptText("bluetooth.spp_name", ui->lineEdit_SppName)}),
                     ret_mode);
}

int MainWindow::Set_Send_BLE_NAME_Instruction()
{
    return SendFrame(proto::textBytesSettingFrame(BLE_NAME, {keptText("bluetooth.ble_name", ui->lineEdit_SppBLE)}),
                     ret_mode);
}

int MainWindow::Set_Send_PIN_Instruction()
{
    return SendSettingFrame(proto::textBytesSettingFrame(PIN, {keptText("bluetooth.pin", ui->lineEdit_SppPin)}), PIN,
                            {{"bluetooth.pin", ui->lineEdit_SppPin->text()}}, ret_mode);
}

int MainWindow::Set_Send_SPP_MODE_Instruction()
{
    return SendFrame(proto::sppModeFrame(keptChoice("bluetooth.pairing", ui->comboBox_SppMode)), ret_mode);
}

int MainWindow::Set_Send_WIFI_MODE_Instruction()
{
    return SendFrame(proto::wifiModeFrame(ui->comboBox_WifiMode->currentIndex()), ret_mode);
}

int MainWindow::Set_Send_THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT_Instruction()
{
    return SendFrame(proto::paperEdgeDistanceFrame(ui->lineEdit_DistanceO2PH->text()), ret_mode);
}

int MainWindow::Set_Send_SEAM_TO_PRINT_HRAD_DISTANCE_Instruction()
{
    return SendFrame(proto::seamDistanceFrame(ui->lineEdit_DistanceS2PH->text(), mmToDot), ret_mode);
}

int MainWindow::Set_Send_BLACK_TO_PRINT_HEAD_DISTANCE_Instruction()
{
    return SendFrame(proto::blackMarkDistanceFrame(ui->lineEdit_DistanceB2PH->text(), mmToDot), ret_mode);
}

int MainWindow::Set_Send_PRINT_HEAD_TO_TEAR_DISTANCE_Instruction()
{
    return SendFrame(proto::tearDistanceFrame(ui->lineEdit_DistancePH2T->text()), ret_mode);
}

int MainWindow::Set_Send_LG_MODE_Instruction()
{
    return SendFrame(proto::languageFrame(keptChoice("print.language", ui->comboBox)), ret_mode);
}

int MainWindow::Set_PRINTER_MODE_Instruction()
{
    return SendFrame(proto::printerModeFrame(ui->comboBox_PrintMode->currentIndex()), ret_mode);
}

int MainWindow::Set_AUTO_PAPER_Instruction()
{
    return SendFrame(proto::autoPaperFrame(keptChoice("print.auto_paper", ui->comboBox_AutoPaper)), ret_mode);
}

int MainWindow::Set_Send_CUT_DIS_Instruction()
{
    return SendFrame(proto::paperTakeTimeFrame(ui->lineEdit_PaperTime->text()), ret_mode);
}

int MainWindow::Net_Set()
{
    return SendFrame(proto::ethernetIpFrame(ui->comboBox_NetportIPMode->currentIndex(),
                                                  ui->lineEdit_NetportIP->text(),
                                                  ui->lineEdit_NetportSubnetMask->text(),
                                                  ui->lineEdit_NetportGateway->text()), ret_mode);
}
