// Throughput of a file transfer into the emulated printer, through the same
// worker thread and hand-over the window uses (WorkerThread emits every
// chunk to the GUI thread, which writes it with the tool's transport).
#include "bench/no_window.h"
#include "maintenance/worker_thread.h"
#include "query/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "transport/net_transport.h"
#include "transport/usb_transport.h"
#include "ui/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kFileSize = 2 << 20;

// What MainWindow::sendFileProcess does for a chunk.
class ChunkWriter : public QObject
{
public:
    void write(const QByteArray &chunk) { sendFileRet = SendChunk(chunk, workerThread->mode); }
};

// Seconds the transfer took; negative when it failed or the printer did
// not receive the file whole.
double transfer(const QString &path, int mode, emu::PrinterModel &model, const QByteArray &content)
{
    WorkerThread worker;
    workerThread = &worker;
    ChunkWriter writer;
    QObject::connect(&worker, &WorkerThread::sendFileSignal, &writer, &ChunkWriter::write,
                     Qt::BlockingQueuedConnection);
    bool ok = false;
    QEventLoop loop;
    QObject::connect(&worker, &WorkerThread::finished, &loop, [&] { ok = true; });
    QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker.filePath = path;
    worker.mode = mode;
    model.clearLog();
    QElapsedTimer clock;
    clock.start();
    worker.start();
    loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    workerThread = nullptr;
    return ok && model.received() == content ? seconds : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The USB face must exist before libusb is first used.
    const bool preloaded = qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev"));
    std::unique_ptr<emu::UsbFace> face(preloaded ? new emu::UsbFace : nullptr);
    QApplication app(argc, argv);

    QTemporaryDir dir;
    QByteArray content(kFileSize, '\0');
    QRandomGenerator generator(7);
    for (char &b : content)
        b = char(generator.bounded(256));
    const QString path = dir.filePath(QStringLiteral("file.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != kFileSize)
        return 1;
    file.close();

    emu::NetPrinter printer;
    if (!printer.start({.tcpPort = 0})) {
        std::fprintf(stderr, "emulated printer: %s\n", qPrintable(printer.errorString()));
        return 1;
    }
    NoWindow window;
    DeviceIoContrl_Net net(&window);
    QString error;
    if (net.Connect_Server(QStringLiteral("127.0.0.1"), printer.tcpPort()) != 0
        || !DeviceIoContrl_Net::openStream(5000, &error)) {
        std::fprintf(stderr, "cannot reach the emulated printer %s\n", qPrintable(error));
        return 1;
    }
    const double tcp = transfer(path, MediumNet, printer.model(), content);
    DeviceIoContrl_Net::closeStream();
    const int chunks = (kFileSize + WorkerThread::kNetChunk - 1) / WorkerThread::kNetChunk;
    const double floor = chunks * 0.002;
    std::printf("TCP: 2 MiB in %.3f s; floor (%d chunks x 2 ms) %.3f s; ratio %.3f (limit 1.15)\n", tcp, chunks,
                floor, tcp / floor);
    int status = tcp > 0 && tcp / floor <= 1.15 ? 0 : 1;

    if (face) {
        emu::PrinterModel model;
        face->addPrinter(&model);
        CDeviceIOOpera usb(&window);
        if (CDeviceIOOpera::GetPrinterHandle(2) != 0) {
            std::fprintf(stderr, "emulated USB printer not found\n");
            return 1;
        }
        const double seconds = transfer(path, MediumUsb, model, content);
        std::printf("USB: 2 MiB in %.3f s, %.1f MB/s (%d chunks of 10240 bytes)\n", seconds,
                    kFileSize / seconds / 1e6, (kFileSize + WorkerThread::kUsbChunk - 1) / WorkerThread::kUsbChunk);
        status |= seconds > 0 ? 0 : 1;
    } else {
        std::printf("USB: skipped (run under umockdev-wrapper)\n");
    }
    return status;
}
