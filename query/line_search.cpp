#include "query/line_search.h"

#include "protocol/frame.h"
#include "protocol/result.h"
#include "protocol/serial_line.h"
#include "query/printer_io.h"
#include "transport/serial_transport.h"

#include <QDeadlineTimer>
#include <QDebug>

#include <array>
#include <cstring>

int IdentifyOnLine(bool search, const std::function<void(int percent)> &progress, qint32 &baud,
                   unsigned char *out)
{
    const serial::LineSettings chosen = DeviceIoContrl_Serial::lineSettings();
    baud = chosen.baud;
    if (!search)
        return GetPrinterInfo(DEVICE_IDENTITY, out, MediumSerial);

    const QByteArray request = proto::queryFrame(DEVICE_IDENTITY);
    const QList<qint32> order = serial::searchOrder(chosen.baud);
    const QDeadlineTimer cap(kSpeedSearchCapMs, Qt::PreciseTimer);
    for (qsizetype i = 0; i < order.size() && !cap.hasExpired(); ++i) {
        serial::LineSettings at = chosen;
        at.baud = order.at(i);
        const int line = serial::lineTimeMs(request.size() + proto::kReplyAreaSize, at);
        // The last probe gets what the cap leaves of its wait.
        const int wait = int(std::min<qint64>(kSpeedProbeWaitMs, cap.remainingTime() - line));
        if (wait <= 0)
            break;
        if (!DeviceIoContrl_Serial::setLineSpeed(at.baud)) {
            qDebug() << "speed search: the port refuses" << at.baud << "baud";
            continue;
        }
        std::array<unsigned char, proto::kReplyAreaSize> reply{};
        const int ret = DeviceIoContrl_Serial::PrinterDataIOProbe(request, reply.data(), wait);
        qDebug() << "speed search:" << at.baud << "baud, ret" << ret;
        if (progress)
            progress(int(100 * (i + 1) / order.size()));
        if (ret == Result::Ok) {
            baud = at.baud;
            if (out)
                std::memset(out, 0, proto::kResultBufferSize);
            return proto::judgeReply(reply.data(), int(reply.size()), DEVICE_IDENTITY, out,
                                     out ? proto::kResultBufferSize : 0) < 0
                       ? int(Result::MalformedReply)
                       : int(Result::Ok);
        }
    }
    DeviceIoContrl_Serial::setLineSpeed(chosen.baud);
    if (out)
        std::memset(out, 0, proto::kResultBufferSize);
    return DeviceIoContrl_Serial::failure();
}
