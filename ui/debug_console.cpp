// The debug console: raw text or hexadecimal bytes to the open printer in
// chunks, every chunk and every answer as a time-stamped line, and a whole
// file sent raw through the transfer worker (maintenance/file_transfer.cpp).
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/result.h"
#include "query/printer_io.h"
#include "ui/console_text.h"
#include "ui/shared_state.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileDialog>
#include <QTextCursor>
#include <QTextEdit>

void MainWindow::on_radioButton_hexSend_toggled(bool checked)
{
    const QString text = ui->textEdit_Send->toPlainText();
    ui->textEdit_Send->setPlainText(checked ? console::hexText(console::sendBytes(text))
                                            : console::textFromHex(text));
}

void MainWindow::on_pushButton_Send_clicked()
{
    // The button is disabled while anything is sent; a click that arrives
    // all the same must not start a send inside the running one.
    if (m_transfer != Transfer::None)
        return;
    QByteArray bytes;
    PageFlow flow;
    flow.criticalWhenClosed = true;
    flow.proceed = [this, &bytes] {
        bytes = console::sendBytes(ui->textEdit_Send->toPlainText());
        if (!ui->radioButton_hexSend->isChecked())
            return true;
        const std::optional<QByteArray> parsed = console::parseHex(QString::fromUtf8(bytes));
        if (!parsed) {
            showBox(QMessageBox::Critical, tr("错误"), tr("此十六进制字符串格式无效。"));
            return false;
        }
        bytes = *parsed;
        return true;
    };
    runOnPrinter(flow, [this, &bytes] {
        holdForTransfer(Transfer::ConsoleText);
        const int result = sendConsoleBytes(bytes);
        releaseTransfer();
        return result;
    });
}

int MainWindow::sendConsoleBytes(const QByteArray &bytes)
{
    qDebug() << "send size:" << bytes.size();
    // A window that is closing ends the send at the next chunk.
    for (qsizetype offset = 0; offset < bytes.size() && !m_closing; offset += console::kChunkSize) {
        const QByteArray chunk = bytes.mid(offset, console::kChunkSize);
        if (const int ret = SendChunk(chunk, ret_mode, [this] { return m_closing; }); ret != Result::Ok) {
            if (!m_closing)
                showBox(QMessageBox::Critical, tr("错误"), tr("发送失败！请重试"));
            return ret;
        }
        updateTextBrowser(chunk);
        QByteArray back = ReadBack(ret_mode);
        if (ret_mode == MediumUsb && !back.isEmpty()) {
            const QByteArray trimmed = console::trimUsbReply(back);
            if (trimmed.size() != back.size())
                qDebug() << "取recvDebugBuf:" << trimmed.toHex(' ');
            back = trimmed;
        }
        if (!back.isEmpty())
            mrecvDebugData(back);
        else if (ret_mode == MediumNet)
            qDebug("recvDebugBuf.size() <= 0");
        qDebug() << "sent" << offset + chunk.size();
        QCoreApplication::processEvents();
    }
    return Result::Ok;
}

namespace {

// A new paragraph of plain text: what the printer sent is never read as
// markup (append() would guess).
void appendLine(QTextEdit *area, const QString &text)
{
    QTextCursor cursor(area->document());
    cursor.movePosition(QTextCursor::End);
    if (!area->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
    area->ensureCursorVisible();
}

} // namespace

void MainWindow::updateTextBrowser(QByteArray data)
{
    appendLine(ui->textBrowser_Debug, console::line(QTime::currentTime(), console::Direction::Send, data,
                                                    ui->radioButton_hexSend->isChecked()));
}

void MainWindow::mrecvDebugData(QByteArray data_B)
{
    // The time is taken before the payload is rendered.
    const QTime now = QTime::currentTime();
    appendLine(ui->textBrowser_Debug,
               console::line(now, console::Direction::Receive, data_B, ui->radioButton_hexRecv->isChecked()));
}

void MainWindow::on_pushButton_ClearSend_clicked()
{
    ui->textEdit_Send->clear();
}

void MainWindow::on_pushButton_ClearDebug_clicked()
{
    ui->textBrowser_Debug->clear();
}

void MainWindow::on_pushButton_SendFile_clicked()
{
    if (!deviceOpen()) {
        showBox(QMessageBox::Critical, tr("设置工具"), tr("设备未打开!"));
        return;
    }
    debugMode = true;
    const QString path = QFileDialog::getOpenFileName(nullptr, QStringLiteral("All Files (*)"));
    if (path.isEmpty()) {
        qDebug("No file selected!");
        return;
    }
    qDebug() << path;
    // The console's file is the user's own: sent as it is, never removed.
    startTransfer(path, false, {});
}
