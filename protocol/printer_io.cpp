#include "protocol/printer_io.h"

#include "protocol/frame.h"
#include "transport/net_transport.h"
#include "transport/usb_transport.h"

#include <QDebug>
#include <array>
#include <cstring>
#include <vector>

namespace {

// One write-then-read exchange over the medium; -1 for a medium without
// transport (nothing is sent then).
int exchange(const QByteArray &request, unsigned char *reply, int &replyLength, int mode)
{
    std::vector<unsigned char> frame(request.begin(), request.end());
    replyLength = 0;
    if (mode == 2)
        return DeviceIoContrl_Net::PrinterDataIORead(frame.data(), int(frame.size()), reply,
                                                    replyLength);
    if (mode == 1)
        return CDeviceIOOpera::PrinterDataIOSwap(frame.data(), int(frame.size()), reply,
                                                 replyLength);
    return -1;
}

// Write only; the reply area is handed over because the transports take
// one, but they never fill it.
int writeOnly(const QByteArray &bytes, int mode)
{
    if (mode != 1 && mode != 2)
        return -1;
    std::vector<unsigned char> frame(bytes.begin(), bytes.end());
    std::vector<unsigned char> reply(frame.size() + 256, 0);
    int replyLength = 0;
    if (mode == 2)
        return DeviceIoContrl_Net::PrinterDataIOButton(frame.data(), int(frame.size()),
                                                       reply.data(), replyLength);
    return CDeviceIOOpera::PrinterDataIOButton(frame.data(), int(frame.size()), reply.data(),
                                               replyLength);
}

// Shared by both query helpers: the reply is judged on lead-in and code
// only (see proto::judgeReply for why class, tail and length are not).
int query(const QByteArray &request, quint8 code, unsigned char *out, int mode, bool status)
{
    std::array<unsigned char, kReplyAreaSize> reply{};
    int replyLength = 0;
    const int ret = exchange(request, reply.data(), replyLength, mode);
    if (status)
        qDebug("GetStatusPrinterInfo ret:%d", ret);
    else
        qDebug("GetPrinterInfo ret:%d", ret);

    if (out)
        std::memset(out, 0, kResultBufferSize);
    if (ret != 0)
        return ret;

    const int copied = proto::judgeReply(reply.data(), int(reply.size()), code, out,
                                         out ? kResultBufferSize : 0);
    if (copied < 0) {
        qDebug("get frame err");
        return 1;
    }
    if (status) {
        for (int i = 0; i < copied; ++i)
            qDebug("get mesage :%02X", out[i]);
    }
    return 0;
}

} // namespace

int GetPrinterInfo(SetInfoType type, unsigned char *out, int mode)
{
    return query(proto::queryFrame(type), type, out, mode, false);
}

int GetPrinterStatusInfo(POWER_InFo code, unsigned char *out, int mode)
{
    return query(proto::statusQueryFrame(code), code, out, mode, true);
}

int SetPrinterStatusButton(POWER_InFo code, int mode)
{
    qDebug("rrrrr %02X", unsigned(code));
    const QByteArray frame = proto::functionFrame(code);
    const auto *b = reinterpret_cast<const unsigned char *>(frame.constData());
    qDebug("setinfo mesage :%02X,%02X,%02X,%02X,%02X,%02X,%02X,%02X,%02X", b[0], b[1], b[2],
           b[3], b[4], b[5], b[6], b[7], b[8]);
    return writeOnly(frame, mode);
}

int SendFrame(const QByteArray &frame, int mode)
{
    return writeOnly(frame, mode);
}
