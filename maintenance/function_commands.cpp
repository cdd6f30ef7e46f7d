// One-shot printer functions (self-test, reboot, initialisation, sensor
// learning, cutter mode, keys, buzzer), the printer-information group and
// the status button.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"
#include "protocol/printer_io.h"
#include "protocol/status.h"
#include "transport/net_transport.h"
#include "transport/usb_transport.h"
#include "ui/shared_state.h"

#include <QDebug>

void MainWindow::runFunctionFrame(const QByteArray &frame)
{
    if (!requireOpenDevice())
        return;
    beginExchange();
    const int result = sendInstruction(frame, "function");
    endExchange();
    Ret_Handler(result);
}

int MainWindow::sendFunctionCode(quint8 code)
{
    beginExchange();
    const int result = SetPrinterStatusButton(static_cast<POWER_InFo>(code), ret_mode);
    endExchange();
    return result;
}

void MainWindow::runFunctionCode(quint8 code)
{
    if (!requireOpenDevice())
        return;
    Ret_Handler(sendFunctionCode(code));
}

void MainWindow::on_pushButton_SelfCheck_clicked() { runFunctionCode(SELF_TEST_PAGE); }
void MainWindow::on_pushButton_SeamLrn_clicked() { runFunctionCode(SEAM_LEARN); }
void MainWindow::on_pushButton_BlackLableLrn_clicked() { runFunctionCode(BLACK_MARK_LEARN); }
void MainWindow::on_pushButton_DACLrn_clicked() { runFunctionCode(DAC_LEARN); }
void MainWindow::on_pushButton_OutietLrn_clicked() { runFunctionCode(PAPER_EXIT_LEARN); }
void MainWindow::on_pushButton_NopaperLrn_clicked() { runFunctionFrame(proto::functionFrame(NO_PAPER_LEARN)); }
void MainWindow::on_pushButton_HalfCut_clicked() { runFunctionFrame(proto::cutterModeFrame(proto::CutterMode::Off)); }
void MainWindow::on_pushButton_AllCut_clicked() { runFunctionFrame(proto::cutterModeFrame(proto::CutterMode::FullCut)); }
void MainWindow::on_pushButton_StripMode_clicked() { runFunctionFrame(proto::cutterModeFrame(proto::CutterMode::Strip)); }
void MainWindow::on_pushButton_TearMode_clicked() { runFunctionFrame(proto::cutterModeFrame(proto::CutterMode::Tear)); }
void MainWindow::on_pushButton_KeySettingOpen_clicked() { runFunctionFrame(proto::keyLockFrame(true)); }
void MainWindow::on_pushButton_KeySettingClose_clicked() { runFunctionFrame(proto::keyLockFrame(false)); }
void MainWindow::on_pushButton_BuzzerOpen_clicked() { runFunctionFrame(proto::buzzerFrame(true)); }
void MainWindow::on_pushButton_BuzzerClose_clicked() { runFunctionFrame(proto::buzzerFrame(false)); }

// After a reboot or an initialisation the printer drops the connection:
// the window goes back to the not-connected state (list and transport kept).
void MainWindow::on_pushButton_Reboot_clicked()
{
    if (!requireOpenDevice())
        return;
    const int result = sendFunctionCode(REBOOT);
    if (result == 0) {
        closeConnection(500);
        ui->progressBar_Update->setValue(0);
        ui->progressBar_Debug->setValue(0);
    }
    Ret_Handler(result);
}

void MainWindow::on_pushButton_PrinterInit_clicked()
{
    if (!requireOpenDevice())
        return;
    const int result = sendFunctionCode(PRINTER_INIT);
    if (Ret_Handler(result) != 0)
        return;
    closeConnection(10);
}

void MainWindow::on_pushButton_getPrinterInfo_clicked()
{
    if (!deviceOpen()) {
        showBox(QMessageBox::Critical, tr("设置工具"), tr("设备未打开!"));
        return;
    }
    controlAllWidgets(false);
    beginExchange();
    const int result = Message_Init();
    endExchange();
    controlAllWidgets(true);
    Ret_Handler(result);
}

int MainWindow::Message_Init()
{
    unsigned char buf[kResultBufferSize];
    if (GetPrinterStatusInfo(FIRMWARE_VERSION, buf, ret_mode) == 0)
        ui->textBrowser_Ver->setText(proto::payloadText(buf, kResultBufferSize));
    if (GetPrinterStatusInfo(RESOLUTION_WIDTH, buf, ret_mode) == 0) {
        const proto::ResolutionInfo info = proto::decodeResolution(buf, mmToDot);
        ui->textBrowser_DPI->setText(QString::number(info.dpi));
        ui->textBrowser_MaxPaperWidth->setText(QString::number(info.maxWidthMm));
    }
    const int result = GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode);
    if (result != 0)
        return result;
    if (const auto identity = proto::splitDeviceIdentity(buf)) {
        for (size_t i = 0; i < identity->fields.size(); ++i)
            qDebug() << proto::kIdentityFieldLabels[i] << identity->fields[i];
        ui->textBrowser_Model->setText(identity->model());
    }
    return 0;
}

void MainWindow::on_pushButton_GetPrinterStatus_clicked()
{
    if (!requireOpenDevice())
        return;
    unsigned char buf[256] = {};
    int length = 0;
    qDebug("in mesage :%02X,%02X,%02X,%02X,%02X", 0xFF, 0x00, 0x00, 0x04, 0x00);

    // USB answers a vendor control read with the bare word; the network
    // answers a status frame whose payload is the word.
    quint32 word = 0;
    int result = -1;
    if (ret_mode == MediumNet) {
        DeviceIoContrl_Net::connectSocket();
        result = contrlNet ? contrlNet->ReadFromControlEndpoint(9, buf, length) : 6;
        DeviceIoContrl_Net::disconnectSocket();
        word = proto::readLeU32(buf + 6);
    } else if (ret_mode == MediumUsb) {
        result = CDeviceIOOpera::ReadFromControlEndpoint(buf, length);
        word = proto::readLeU32(buf);
    }
    qDebug("%02X", word);
    qDebug("ret = %d", result);
    if (result != 0) {
        showBox(QMessageBox::Information, QObject::tr("设置工具"), QObject::tr("请确保打印机已进行连接"));
        return;
    }
    const QString text = checkPrinterStatus(word);
    showBox(QMessageBox::Information, QObject::tr("设置工具"), text.isEmpty() ? QObject::tr("空闲中") : text);
}
