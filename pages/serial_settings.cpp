// Serial port and identity page: the printer's own serial interface, its
// serial number and its device-identification text.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/frame.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <cstring>

void MainWindow::on_pushButton_ComSettingRead_clicked()
{
    // The printer's serial parameters cannot be changed over the serial
    // link they describe.
    readPage({.lock = PageFlow::Lock::AfterCheck, .noSetOver = ui->checkBox_Serialport},
             ui->pushButton_ComSettingSet, [this] { return USB_Init(); });
}

int MainWindow::USB_Init()
{
    settings::Values v;
    QByteArray payload;
    if (ReadSetting(SERIAL_PORT, openModel(), v, ret_mode, &payload) == 0) {
        // An index beyond a combo's items shows no selection; the set sends
        // it back as read (see KeptBytes).
        m_kept.keepChoices({QStringLiteral("serial.baud"), QStringLiteral("serial.parity"),
                            QStringLiteral("serial.data_bits"), QStringLiteral("serial.stop_bits")}, payload);
        ui->comboBox_ComBaud->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("serial.baud")));
        ui->comboBox_ComParityBit->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("serial.parity")));
        ui->comboBox_ComDataBit->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("serial.data_bits")));
        ui->comboBox_ComStopBit->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("serial.stop_bits")));
    }
    unsigned char buf[proto::kResultBufferSize];
    if (GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode) == 0) {
        if (const auto identity = proto::splitDeviceIdentity(buf)) {
            for (size_t i = 0; i < identity->fields.size(); ++i)
                qDebug() << proto::kIdentityFieldLabels[i] << identity->fields[i];
            ui->lineEdit_ComDeviceInfo->setText(identity->deviceId());
            ui->lineEdit_ComDeviceInfo->setEnabled(false);
        }
    }
    const int result = GetPrinterInfo(SN, buf, ret_mode);
    if (result != 0) {
        // A failed or malformed answer leaves nothing a set could send back.
        m_serialNumber.reset();
        return result;
    }
    // The buffer is zero after the payload: the number ends at its 00.
    const auto length = qsizetype(strnlen(reinterpret_cast<const char *>(buf), sizeof buf));
    m_serialNumber = QByteArray(reinterpret_cast<const char *>(buf), length);
    ui->lineEdit_ComSN->setText(proto::payloadText(buf, proto::kResultBufferSize));
    return 0;
}

void MainWindow::on_pushButton_ComSettingSet_clicked()
{
    const auto numberFits = [this] { return !m_serialNumber || textFits(tr("设备SN号"), *m_serialNumber); };
    setPage({.proceed = numberFits}, [this] {
        if (!m_serialNumber)
            qDebug("serial number not read whole: only the serial parameters are sent");
        return firstFailure({Set_Send_SERIAL_PORT_Instruction(), Set_Send_SN_Instruction()});
    });
}
