#include "maintenance/worker_thread.h"

#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

WorkerThread::WorkerThread(QObject *parent)
    : QThread(parent)
{
}

void WorkerThread::run()
{
#ifdef Q_OS_LINUX
    // The 2 ms pause after every network chunk paces the whole transfer;
    // the kernel's default 50 us of timer slack would add to each one.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    m_stop = false;
    if (sendFileData() == 1)
        emit finished();
}

int WorkerThread::sendFileData()
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        emit errorOccurred(tr("打开文件失败：%1").arg(file.errorString()));
        delDecryptedFile();
        return 0;
    }
    const qint64 total = file.size();
    qint64 sent = 0;
    const qint64 chunkSize = this->chunkSize > 0 ? this->chunkSize : mode == MediumUsb ? kUsbChunk : kNetChunk;
    while (!file.atEnd() && !m_stop) {
        const QByteArray chunk = file.read(chunkSize);
        if (chunk.isEmpty())
            break;
        // Every attempt the chunk gets is made in the GUI thread, on the
        // bytes that have not gone out yet: handing the chunk over again
        // would send again what already went.
        sendFileRet = -1;
        emit sendFileSignal(chunk);
        if (sendFileRet != 0) {
            qDebug() << "Send failed, ret =" << sendFileRet;
            if (!m_stop)
                emit errorOccurred(tr("向打印机发送数据失败。"));
            file.close();
            delDecryptedFile();
            return 0;
        }
        qDebug() << "sendFile" << sent + chunk.size() << "/" << total;
        if (mode == MediumNet)
            QThread::msleep(kNetChunkPauseMs);
        sent += chunk.size();
        emit progressUpdated(int(double(sent) / double(total) * 100));
    }
    file.close();
    delDecryptedFile();
    return m_stop ? 0 : 1;
}

void WorkerThread::delDecryptedFile()
{
    if (!temporaryFile || !filePath.contains(QLatin1String("_decrypted")) || !QFile::exists(filePath))
        return;
    QFile file(filePath);
    if (file.remove())
        qDebug() << "Successfully deleted decrypted file:" << filePath;
    else
        qDebug() << "Failed to delete decrypted file:" << filePath << "Error:" << file.errorString();
}
