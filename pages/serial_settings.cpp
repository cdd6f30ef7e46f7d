// Serial port and identity page: the printer's own serial interface, its
// serial number and its device-identification text.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "pages/page_support.h"
#include "protocol/frame.h"
#include "protocol/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>

void MainWindow::on_pushButton_ComSettingRead_clicked()
{
    if (!requireOpenDevice())
        return;
    controlAllWidgets(false);
    beginExchange();
    const int result = USB_Init();
    endExchange();
    controlAllWidgets(true);
    if (Ret_Handler(result) != 0)
        return;
    // The printer's serial parameters cannot be changed over the serial
    // link they describe.
    if (ui->checkBox_Serialport->isChecked())
        return;
    ui->pushButton_ComSettingSet->setEnabled(true);
}

int MainWindow::USB_Init()
{
    unsigned char buf[kResultBufferSize];
    if (GetPrinterInfo(SERIAL_PORT, buf, ret_mode) == 0) {
        ui->comboBox_ComBaud->setCurrentIndex(buf[0]);
        ui->comboBox_ComParityBit->setCurrentIndex(buf[1]);
        ui->comboBox_ComDataBit->setCurrentIndex(buf[2]);
        ui->comboBox_ComStopBit->setCurrentIndex(buf[3]);
    }
    if (GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode) == 0) {
        if (const auto identity = proto::splitDeviceIdentity(buf)) {
            for (size_t i = 0; i < identity->fields.size(); ++i)
                qDebug() << proto::kIdentityFieldLabels[i] << identity->fields[i];
            ui->lineEdit_ComDeviceInfo->setText(identity->deviceId());
            ui->lineEdit_ComDeviceInfo->setEnabled(false);
        }
    }
    const int result = GetPrinterInfo(SN, buf, ret_mode);
    if (result != 0)
        return result;
    ui->lineEdit_ComSN->setText(proto::payloadText(buf, kResultBufferSize));
    return 0;
}

void MainWindow::on_pushButton_ComSettingSet_clicked()
{
    if (!requireOpenDevice())
        return;
    if (!textFits(tr("设备SN号"), ui->lineEdit_ComSN->text()))
        return;
    beginExchange();
    const int r0 = Set_Send_SERIAL_PORT_Instruction();
    const int r1 = Set_Send_SN_Instruction();
    endExchange();
    Ret_Handler(firstFailure({r0, r1}));
}
