// Firmware and font downloads, the file transfers they share with the
// debug console, and the lock every transfer (the console's text sends
// included) holds on the printer.
//
// A download decrypts the chosen file into a temporary file next to it,
// locks the controls that could start another printer action, and hands
// the file to the worker thread, which streams it in chunks; each chunk
// comes back to the GUI thread (sendFileProcess) to be written by the open
// transport. On the network the whole file goes over one connection held
// for the transfer. The window keeps painting meanwhile, even while the
// printer is slow to take a chunk.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "maintenance/firmware_file.h"
#include "maintenance/worker_thread.h"
#include "provisioning/distributenet.h"
#include "protocol/result.h"
#include "protocol/serial_line.h"
#include "query/printer_io.h"
#include "transport/net_transport.h"
#include "ui/shared_state.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kStreamConnectMs = 5000;
// The printer takes a moment to finish a file before it is told so.
constexpr int kFinishPauseMs = 1000;

} // namespace

void MainWindow::setUpTransfers()
{
    workerThread = new WorkerThread;
    connect(workerThread, &WorkerThread::progressUpdated, this, &MainWindow::onTransferProgress);
    connect(workerThread, &WorkerThread::errorOccurred, this, &MainWindow::onTransferError);
    connect(workerThread, &WorkerThread::finished, this, &MainWindow::onTransferFinished);
    connect(workerThread, &WorkerThread::sendFileSignal, this, &MainWindow::sendFileProcess,
            Qt::BlockingQueuedConnection);
}

void MainWindow::endTransfers()
{
    // The worker may be waiting in its blocking hand-over of a chunk, which
    // only this thread can answer: answer it (as a failed write) until the
    // worker has seen the stop and ended.
    m_closing = true;
    workerThread->requestStop();
    while (!workerThread->wait(QDeadlineTimer(20)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (DeviceIoContrl_Net::streaming())
        DeviceIoContrl_Net::closeStream();
    delete workerThread;
    workerThread = nullptr;
}

void MainWindow::on_pushButton_DownloadFW_clicked()
{
    download(firmware::FileKind::Firmware);
}

void MainWindow::on_pushButton_DownloadFL_clicked()
{
    download(firmware::FileKind::Font);
}

void MainWindow::download(firmware::FileKind kind)
{
    debugMode = false;
    const bool isFirmware = kind == firmware::FileKind::Firmware;
    PageFlow flow;
    flow.bracketSocket = false;
    runOnPrinter(flow, [&] {
        const QString chosen = isFirmware
            ? QFileDialog::getOpenFileName(nullptr, QStringLiteral("HEX File"), QString(),
                                           QStringLiteral("HEX Files (*.hex);;All Files (*)"))
            : QFileDialog::getOpenFileName(nullptr, QStringLiteral("BIN File"), QString(),
                                           QStringLiteral("BIN Files (*.bin);;All Files (*)"));
        if (chosen.isEmpty()) {
            qDebug("No file selected!");
            return int(Result::Ok);
        }
        // Which printer gets which file, said before anything is decrypted.
        m_firmwareCheck.reset();
        if (isFirmware && !checkBeforeFirmware(chosen, m_firmwareCheck))
            return int(Result::Ok);
        const firmware::DecryptResult decrypted = firmware::decryptToTemporary(chosen, kind);
        if (!decrypted.ok) {
            qDebug() << "Failed to decrypt" << chosen << decrypted.error;
            showBox(QMessageBox::Critical, tr("错误"), tr("打开文件失败：%1").arg(decrypted.error));
            return int(Result::Ok);
        }
        qDebug("completed successfully.");
        if (isFirmware)
            qDebug() << chosen;
        if (!startTransfer(decrypted.path, true, [this, isFirmware](const QString &error) {
            if (isFirmware)
                showBox(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("Connection failed: ") + error);
            else
                showBox(QMessageBox::Warning, tr("错误"), tr("连接失败: ") + error);
            }))
            m_firmwareCheck.reset();
        return int(Result::Ok);
    });
}

bool MainWindow::startTransfer(const QString &path, bool temporary,
                               const std::function<void(const QString &)> &connectFailed)
{
    holdForTransfer(debugMode ? Transfer::ConsoleFile : Transfer::Download);
    workerThread->filePath = path;
    workerThread->mode = ret_mode;
    workerThread->chunkSize = StreamChunkSize(ret_mode);
    workerThread->temporaryFile = temporary;
    if (ret_mode == MediumNet) {
        QString error;
        // The console reports a connection that could not be made through
        // the worker's failed attempts; a download says so before starting.
        if (!DeviceIoContrl_Net::openStream(kStreamConnectMs, &error) && connectFailed) {
            qDebug() << "Connection failed:" << error;
            DeviceIoContrl_Net::closeStream();
            workerThread->delDecryptedFile();
            connectFailed(error);
            (debugMode ? ui->progressBar_Debug : ui->progressBar_Update)->setEnabled(false);
            releaseTransfer();
            return false;
        }
    }
    workerThread->start(QThread::InheritPriority);
    return true;
}

void MainWindow::holdForTransfer(Transfer kind)
{
    // Everything that could start another printer action or take the
    // printer away; the page and function buttons are on the tabs.
    m_transfer = kind;
    m_transferHeld.clear();
    for (QWidget *w : {ui->pushButton_DownloadFW, ui->pushButton_DownloadFL, ui->pushButton_SendFile,
                       ui->pushButton_Send, ui->pushButton_getPrinterInfo, ui->pushButton_close,
                       ui->pushButton_BackupSettings, ui->pushButton_RestoreSettings}) {
        m_transferHeld.append({w, w->isEnabled()});
        w->setEnabled(false);
    }
    // A download leaves its own tab usable (the progress is there); the
    // console locks all three. Disabling the current tab would switch away
    // from it: the user stays where they were.
    const int current = ui->tabWidget_2->currentIndex();
    m_transferTabs.clear();
    for (int i = 0; i < (kind == Transfer::Download ? 2 : 3); ++i) {
        m_transferTabs.append(ui->tabWidget_2->isTabEnabled(i));
        ui->tabWidget_2->setTabEnabled(i, false);
    }
    ui->tabWidget_2->setCurrentIndex(current);
    if (kind != Transfer::ConsoleText) {
        QProgressBar *bar = kind == Transfer::ConsoleFile ? ui->progressBar_Debug : ui->progressBar_Update;
        bar->setEnabled(true);
        bar->setValue(0);
    }
    m_transferClock.start();
    if (m_distributeNet)
        m_distributeNet->setSendAllowed(false);
}

void MainWindow::releaseTransfer()
{
    // Back to what the open left: a model without settings pages keeps
    // them (and the font download) disabled.
    for (const auto &[w, enabled] : std::as_const(m_transferHeld))
        if (w)
            w->setEnabled(enabled);
    for (int i = 0; i < m_transferTabs.size(); ++i)
        ui->tabWidget_2->setTabEnabled(i, m_transferTabs.at(i));
    m_transferHeld.clear();
    m_transferTabs.clear();
    m_transfer = Transfer::None;
    for (QProgressBar *bar : {ui->progressBar_Update, ui->progressBar_Debug})
        bar->resetFormat();
    if (m_distributeNet)
        m_distributeNet->setSendAllowed(true);
}

bool MainWindow::heldByTransfer(const QWidget *w) const
{
    for (const auto &held : m_transferHeld)
        if (held.first == w)
            return true;
    return false;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing in the middle of a firmware leaves the printer without one:
    // the user confirms it first.
    if (m_transfer == Transfer::Download && workerThread->isRunning()) {
        QMessageBox box(QMessageBox::Warning, tr("设置工具"), tr("固件下载进行中，关闭窗口将中断下载。确定关闭吗？"),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Ok) {
            event->ignore();
            return;
        }
    }
    // A transfer or console send stops at its next chunk.
    if (m_transfer != Transfer::None) {
        m_closing = true;
        workerThread->requestStop();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::sendFileProcess(QByteArray data)
{
    // The window is closing: the chunk counts as failed and the worker,
    // told to stop, ends.
    if (m_closing) {
        sendFileRet = Result::NoTransport;
        return;
    }
    // The medium the transfer started on, even if another has been ticked
    // since: the rest of a file never goes to another printer.
    const int mode = workerThread->mode;
    if (mode == MediumNet) {
        const _PRINTER_HANDLE *handle = DeviceIoContrl_Net::getHandle();
        if (!contrlNet || !handle || !handle->pSocket) {
            qDebug("sendFileProcess: tcpSocket is null");
            sendFileRet = Result::NetworkFailed;
            return;
        }
    }
    sendFileRet = mode == MediumNet || mode == MediumUsb || isSerialMedium(mode)
                      ? SendChunk(data, mode, [this] { return m_closing; })
                      : int(Result::NoTransport);
    qDebug() << "sendFileProcess的sendFileRet: " << sendFileRet;
}

void MainWindow::onTransferProgress(int percent)
{
    QProgressBar *bar = debugMode ? ui->progressBar_Debug : ui->progressBar_Update;
    bar->setValue(percent);
    // A firmware over a slow line takes hours (6 MiB at 9600 baud, about
    // two): the bar says how long the rest will take at the pace so far.
    const qint64 left = serial::secondsLeft(percent, 100, m_transferClock.elapsed());
    if (left >= 0 && percent < 100)
        bar->setFormat(tr("%p%，剩余%1").arg(serial::durationText(left)));
    QCoreApplication::processEvents();
}

void MainWindow::onTransferError(const QString &text)
{
    m_firmwareCheck.reset();
    (debugMode ? ui->progressBar_Debug : ui->progressBar_Update)->setEnabled(false);
    if (workerThread->mode == MediumNet)
        DeviceIoContrl_Net::closeStream();
    showBox(QMessageBox::Critical, tr("错误"), text);
    releaseTransfer();
}

void MainWindow::onTransferFinished()
{
    // The controls stay locked through the pause; the window keeps painting.
    QTimer::singleShot(kFinishPauseMs, this, [this] {
        if (workerThread->mode == MediumNet)
            DeviceIoContrl_Net::closeStream();
        // A new firmware restarts the printer: the window watches for it
        // from now on, also while the box is up.
        const bool restarts = !debugMode && m_firmwareCheck && m_restartWaitMs > 0;
        if (restarts) {
            m_restartGone = m_restartBack = false;
            m_restartDeadline = QDeadlineTimer(m_restartWaitMs);
            watchRestart();
        }
        showBox(QMessageBox::Information, tr("下载成功"), debugMode ? tr("下载成功") : tr("等待打印机指示灯停止闪烁"));
        if (restarts)
            waitForRestart();
        releaseTransfer();
        if (restarts && m_firmwareCheck)
            afterRestart();
        m_firmwareCheck.reset();
    });
}
