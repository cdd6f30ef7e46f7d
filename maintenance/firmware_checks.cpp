// The checks around a firmware download. Before it: the operator sees
// which printer (model, firmware version, serial number) is about to get
// which file, and the printer's settings are backed up into the tool's
// data folder. After it: the printer restarts into its new firmware; the
// window waits for it to answer again, says which version it now runs,
// and offers to put back settings that the new firmware changed.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "maintenance/settings_backup.h"
#include "protocol/frame.h"
#include "protocol/printer_models.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "transport/net_transport.h"
#include "transport/usb_transport.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTimer>

namespace {

// How often the window asks whether the printer is back.
constexpr int kRestartProbeMs = 500;

QString backupFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("backups"));
}

} // namespace

bool MainWindow::checkBeforeFirmware(const QString &chosen, std::optional<FirmwareCheck> &checked)
{
    checked.reset();
    FirmwareCheck check;
    QString model, serial;
    beginExchange();
    unsigned char buf[proto::kResultBufferSize];
    int result = GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode);
    if (const auto identity = result == Result::Ok ? proto::splitDeviceIdentity(buf) : std::nullopt)
        model = identity->model();
    if (result == Result::Ok)
        result = GetPrinterStatusInfo(FIRMWARE_VERSION, buf, ret_mode);
    if (result == Result::Ok) {
        check.version = proto::payloadText(buf, proto::kResultBufferSize);
        settings::Values values;
        if (ReadSetting(SN, openModel(), values, ret_mode) == Result::Ok)
            serial = values.value(QStringLiteral("serial.serial_number"));
    }
    endExchange();
    // A printer that cannot be read cannot be named nor backed up; the
    // download then reports the link as it always has.
    if (result != Result::Ok)
        return true;
    if (ret_mode == MediumUsb) {
        check.usbPort = CDeviceIOOpera::selectedPort();
        check.usbAddress = CDeviceIOOpera::selectedAddress();
    }

    // Printer texts shown as they are, never as markup.
    const QString none = QStringLiteral("—");
    QMessageBox box(QMessageBox::Question, tr("设置工具"),
                    tr("将固件下载到这台打印机吗？\n\n型号：%1\n固件版本：%2\n序列号：%3\n\n文件：%4\n大小：%5字节")
                        .arg(model.isEmpty() ? none : model, check.version.isEmpty() ? none : check.version,
                             serial.isEmpty() ? none : serial, QFileInfo(chosen).fileName())
                        .arg(QFileInfo(chosen).size()),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setTextFormat(Qt::PlainText);
    // The firmware-only models keep no settings.
    const bool settingsKept = !models::firmwareOnly(ui->comboBox_ScanResult->currentText());
    auto *backupFirst = new QCheckBox(tr("先备份设置"));
    backupFirst->setChecked(settingsKept);
    if (settingsKept)
        box.setCheckBox(backupFirst);
    else
        delete backupFirst;
    if (box.exec() != QMessageBox::Ok)
        return false;
    checked = check;
    if (!settingsKept || !box.checkBox() || !box.checkBox()->isChecked())
        return true;

    QString error;
    controlAllWidgets(false);
    beginExchange();
    const QByteArray json = backupProfile(false, &error, &check.backup);
    endExchange();
    controlAllWidgets(true);
    if (!json.isEmpty()) {
        const backup::Written written =
            backup::writeKept(backupFolder(), serial, QDateTime::currentDateTime(), json, false);
        check.backupPath = written.ok() ? written.path : QString();
        error = written.ok() ? QString() : written.path + QStringLiteral(": ") + written.error;
    }
    checked = check;
    if (error.isEmpty())
        return true;
    checked->backup.clear();
    checked->backupPath.clear();
    QMessageBox ask(QMessageBox::Warning, tr("设置工具"), tr("备份失败：%1\n不备份，继续下载固件吗？").arg(error),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    ask.setTextFormat(Qt::PlainText);
    ask.setDefaultButton(QMessageBox::Cancel);
    if (ask.exec() != QMessageBox::Ok) {
        checked.reset();
        return false;
    }
    return true;
}

void MainWindow::watchRestart()
{
    if (!m_firmwareCheck || m_restartBack || m_restartDeadline.hasExpired())
        return;
    unsigned char buf[proto::kResultBufferSize];
    bool answers = false;
    if (ret_mode == MediumUsb) {
        // The device the window had selected left the bus with the old
        // firmware: the printer is found again on the same port, and a new
        // device number there means it has been away.
        const bool found = CDeviceIOOpera::GetPrinterHandle(m_firmwareCheck->usbPort) == 0;
        m_restartGone = m_restartGone || (found && CDeviceIOOpera::selectedAddress() != m_firmwareCheck->usbAddress);
        answers = found && GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode) == Result::Ok;
    } else {
        // At its address, over a connection of its own.
        beginExchange();
        answers = GetPrinterInfo(DEVICE_IDENTITY, buf, ret_mode) == Result::Ok;
        endExchange();
    }
    // Back means answering after having been away: a printer still
    // answering with its old firmware has not restarted yet.
    if (!answers)
        m_restartGone = true;
    else if (m_restartGone)
        m_restartBack = true;
    if (!m_restartBack)
        QTimer::singleShot(kRestartProbeMs, this, &MainWindow::watchRestart);
}

void MainWindow::waitForRestart()
{
    QProgressDialog progress(tr("正在等待打印机重新应答…"), QObject::tr("取消"), 0, m_restartWaitMs, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    QEventLoop loop;
    QTimer tick;
    connect(&tick, &QTimer::timeout, &loop, [&] {
        progress.setValue(int(std::min<qint64>(m_restartWaitMs, m_restartWaitMs - m_restartDeadline.remainingTime())));
        if (m_restartBack || m_restartDeadline.hasExpired() || progress.wasCanceled() || m_closing)
            loop.quit();
    });
    tick.start(100);
    if (!m_restartBack)
        loop.exec();
    // Called off: nothing more is said about this download.
    if (progress.wasCanceled() || m_closing)
        m_firmwareCheck.reset();
}

void MainWindow::afterRestart()
{
    const FirmwareCheck check = *m_firmwareCheck;
    m_firmwareCheck.reset();
    if (!m_restartBack) {
        QString text = tr("打印机在%1秒内没有重新应答。").arg((m_restartWaitMs + 999) / 1000);
        if (!check.backupPath.isEmpty())
            text += QLatin1Char('\n') + tr("下载前的设置备份：%1").arg(QDir::toNativeSeparators(check.backupPath));
        showBox(QMessageBox::Warning, tr("设置工具"), text);
        return;
    }
    QString version = QStringLiteral("—");
    settings::Values now;
    QString unread;
    bool differs = false;
    runOnPrinter({.lock = PageFlow::Lock::AfterCheck}, [&] {
        unsigned char buf[proto::kResultBufferSize];
        if (GetPrinterStatusInfo(FIRMWARE_VERSION, buf, ret_mode) == Result::Ok) {
            version = proto::payloadText(buf, proto::kResultBufferSize);
            ui->textBrowser_Ver->setPlainText(version);
        }
        // A firmware may bring factory settings: the backup says which.
        if (!check.backup.isEmpty() && readSettings(check.backup.keys(), now, &unread)) {
            for (const restore::Row &row : restore::compare(now, check.backup, openModel()).rows)
                differs = differs || (row.differs && row.skip == restore::Row::Skip::None);
        }
        return int(Result::Ok);
    });
    QString line = tr("固件版本：%1 → %2").arg(check.version, version);
    // Not knowing whether the settings survived is said, not passed over.
    if (!unread.isEmpty())
        line += QLatin1Char('\n') + tr("无法读取%1").arg(unread);
    if (!differs) {
        showBox(QMessageBox::Information, tr("设置工具"), line);
        return;
    }
    QMessageBox offer(QMessageBox::Question, tr("设置工具"),
                      line + QStringLiteral("\n\n") + tr("打印机的设置与下载前的备份不同，现在恢复吗？"),
                      QMessageBox::Ok | QMessageBox::Cancel, this);
    offer.setTextFormat(Qt::PlainText);
    if (offer.exec() == QMessageBox::Ok)
        restoreFrom(check.backup, check.backupPath);
}
