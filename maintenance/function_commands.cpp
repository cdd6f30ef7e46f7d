// One-shot printer functions (self-test, reboot, initialisation, sensor
// learning, cutter mode, keys, buzzer), the printer-information group and
// the status button.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/frame.h"
#include "protocol/instructions.h"
#include "protocol/status.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>

namespace {

// A button sends either a class-00 function code or a set frame of its own.
std::function<int()> functionCode(POWER_InFo code)
{
    return [code] { return SetPrinterStatusButton(code, ret_mode); };
}

std::function<int()> frame(const QByteArray &bytes)
{
    return [bytes] { return SendFrame(bytes, ret_mode); };
}

} // namespace

void MainWindow::on_pushButton_SelfCheck_clicked() { setPage({}, functionCode(SELF_TEST_PAGE)); }
void MainWindow::on_pushButton_SeamLrn_clicked() { setPage({}, functionCode(SEAM_LEARN)); }
void MainWindow::on_pushButton_BlackLableLrn_clicked() { setPage({}, functionCode(BLACK_MARK_LEARN)); }
void MainWindow::on_pushButton_DACLrn_clicked() { setPage({}, functionCode(DAC_LEARN)); }
void MainWindow::on_pushButton_OutietLrn_clicked() { setPage({}, functionCode(PAPER_EXIT_LEARN)); }
void MainWindow::on_pushButton_NopaperLrn_clicked() { setPage({}, frame(proto::functionFrame(NO_PAPER_LEARN))); }
void MainWindow::on_pushButton_HalfCut_clicked() { setPage({}, frame(proto::cutterModeFrame(proto::CutterMode::Off))); }
void MainWindow::on_pushButton_AllCut_clicked() { setPage({}, frame(proto::cutterModeFrame(proto::CutterMode::FullCut))); }
void MainWindow::on_pushButton_StripMode_clicked() { setPage({}, frame(proto::cutterModeFrame(proto::CutterMode::Strip))); }
void MainWindow::on_pushButton_TearMode_clicked() { setPage({}, frame(proto::cutterModeFrame(proto::CutterMode::Tear))); }
void MainWindow::on_pushButton_KeySettingOpen_clicked() { setPage({}, frame(proto::keyLockFrame(true))); }
void MainWindow::on_pushButton_KeySettingClose_clicked() { setPage({}, frame(proto::keyLockFrame(false))); }
void MainWindow::on_pushButton_BuzzerOpen_clicked() { setPage({}, frame(proto::buzzerFrame(true))); }
void MainWindow::on_pushButton_BuzzerClose_clicked() { setPage({}, frame(proto::buzzerFrame(false))); }

// After a reboot or an initialisation the printer drops the connection:
// the window goes back to the not-connected state (list and transport kept).
void MainWindow::on_pushButton_Reboot_clicked()
{
    const std::optional<int> result = runOnPrinter({}, functionCode(REBOOT));
    if (!result)
        return;
    if (*result == 0) {
        closeConnection(500);
        ui->progressBar_Update->setValue(0);
        ui->progressBar_Debug->setValue(0);
    }
    Ret_Handler(*result);
}

void MainWindow::on_pushButton_PrinterInit_clicked()
{
    // Closed unless an error was shown: a code the reporter passes over
    // silently closes the connection too.
    const std::optional<int> result = runOnPrinter({}, functionCode(PRINTER_INIT));
    if (result && Ret_Handler(*result) == 0)
        closeConnection(10);
}

void MainWindow::on_pushButton_getPrinterInfo_clicked()
{
    const std::optional<int> result = runOnPrinter(
        {.lock = PageFlow::Lock::AfterCheck, .criticalWhenClosed = true}, [this] { return Message_Init(); });
    if (result)
        Ret_Handler(*result);
}

int MainWindow::Message_Init()
{
    // Everything shown here comes from the printer: plain text only, never
    // markup or links.
    unsigned char buf[proto::kResultBufferSize];
    if (GetPrinterStatusInfo(FIRMWARE_VERSION, buf, ret_mode) == 0)
        ui->textBrowser_Ver->setPlainText(proto::payloadText(buf, proto::kResultBufferSize));
    if (GetPrinterStatusInfo(RESOLUTION_WIDTH, buf, ret_mode) == 0) {
        const proto::ResolutionInfo info = proto::decodeResolution(buf, mmToDot);
        ui->textBrowser_DPI->setPlainText(QString::number(info.dpi));
        ui->textBrowser_MaxPaperWidth->setPlainText(QString::number(info.maxWidthMm));
    }
    const int result = GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode);
    if (result != 0)
        return result;
    if (const auto identity = proto::splitDeviceIdentity(buf)) {
        for (size_t i = 0; i < identity->fields.size(); ++i)
            qDebug() << proto::kIdentityFieldLabels[i] << identity->fields[i];
        ui->textBrowser_Model->setPlainText(identity->model());
    }
    return 0;
}

void MainWindow::on_pushButton_GetPrinterStatus_clicked()
{
    quint32 word = 0;
    const std::optional<int> result = runOnPrinter({}, [&word] { return ReadStatusWord(ret_mode, contrlNet, word); });
    if (!result)
        return;
    qDebug("status word %08X, ret = %d", word, *result);
    // The status button reports on its own, not through Ret_Handler.
    if (*result != 0) {
        showBox(QMessageBox::Information, QObject::tr("设置工具"), QObject::tr("请确保打印机已进行连接"));
        return;
    }
    const QString text = checkPrinterStatus(word);
    showBox(QMessageBox::Information, QObject::tr("设置工具"), text.isEmpty() ? QObject::tr("空闲中") : text);
}
