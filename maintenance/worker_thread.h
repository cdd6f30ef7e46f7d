// The thread that streams a file into the printer: a decrypted firmware or
// font for a download, or any file the debug console sends raw.
//
// The worker only reads the file and paces the transfer; every chunk is
// written by the GUI thread (MainWindow::sendFileProcess), reached through
// a blocking queued connection on sendFileSignal, so the transports stay
// single-threaded. The worker reads sendFileRet only after that call has
// returned.
#pragma once

#include "query/printer_io.h"

#include <QByteArray>
#include <QString>
#include <QThread>
#include <atomic>

class WorkerThread : public QThread
{
    Q_OBJECT

public:
    explicit WorkerThread(QObject *parent = nullptr);

    // Bytes per chunk, as the medium takes them.
    static constexpr int kUsbChunk = kUsbDataChunk;
    static constexpr int kNetChunk = kNetDataChunk;

    // Sends filePath in chunks, each handed to the GUI thread once (which
    // gives it all its attempts): 1 when the whole file went out, 0 when a
    // chunk failed, the file could not be read or a stop was asked for. Every end removes the file when it is a decrypted
    // temporary file.
    int sendFileData();
    // Removes filePath when it is the decrypted temporary file of a
    // download (its name carries "_decrypted" and the download created it);
    // any other file stays: the console's files are the user's own, even
    // one whose name happens to carry "_decrypted".
    void delDecryptedFile();

    // Ends a transfer at the next chunk boundary, without a report: the
    // window is closing. A worker waiting in sendFileSignal must still be
    // answered by the GUI thread.
    void requestStop() { m_stop = true; }

    QString filePath;
    int mode = 0;    // the medium at the start of the transfer: 1 USB, 2 network, 3 Bluetooth, 4 serial
    int chunkSize = 0;   // bytes per chunk (StreamChunkSize of the medium); 0: USB's or the network's
    bool temporaryFile = false;   // filePath was created for this transfer

signals:
    void progressUpdated(int percent);
    void errorOccurred(const QString &text);
    void finished();
    void sendFileSignal(QByteArray chunk);

protected:
    void run() override;

private:
    std::atomic<bool> m_stop{false};
};
