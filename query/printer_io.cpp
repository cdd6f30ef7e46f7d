#include "query/printer_io.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/result.h"
#include "transport/net_transport.h"
#include "transport/serial_transport.h"
#include "transport/usb_transport.h"

#include <QDebug>
#include <array>
#include <cstring>
#include <vector>

namespace {

// One write-then-read exchange over the medium; nothing is sent for a
// medium without transport.
int exchange(const QByteArray &request, unsigned char *reply, int &replyLength, int mode)
{
    std::vector<unsigned char> frame(request.begin(), request.end());
    replyLength = 0;
    if (mode == MediumNet)
        return DeviceIoContrl_Net::PrinterDataIORead(frame.data(), int(frame.size()), reply,
                                                    replyLength);
    if (mode == MediumUsb)
        return CDeviceIOOpera::PrinterDataIOSwap(frame.data(), int(frame.size()), reply,
                                                 replyLength);
    if (isSerialMedium(mode))
        return DeviceIoContrl_Serial::PrinterDataIORead(frame.data(), int(frame.size()), reply, replyLength);
    return Result::NoTransport;
}

// Write only; the reply area is handed over because the transports take
// one, but they never fill it.
int writeOnly(const QByteArray &bytes, int mode, bool logged)
{
    if (mode != MediumUsb && mode != MediumNet && !isSerialMedium(mode))
        return Result::NoTransport;
    // Every frame that is only written passes here: the one place that
    // logs it.
    if (logged)
        qDebug().noquote() << "send:" << bytes.toHex(' ').toUpper();
    std::vector<unsigned char> frame(bytes.begin(), bytes.end());
    std::vector<unsigned char> reply(frame.size() + 256, 0);
    int replyLength = 0;
    if (mode == MediumNet)
        return DeviceIoContrl_Net::PrinterDataIOButton(frame.data(), int(frame.size()),
                                                       reply.data(), replyLength);
    if (isSerialMedium(mode))
        return DeviceIoContrl_Serial::PrinterDataIOButton(frame.data(), int(frame.size()), reply.data(),
                                                          replyLength);
    return CDeviceIOOpera::PrinterDataIOButton(frame.data(), int(frame.size()), reply.data(),
                                               replyLength);
}

// Shared by both query helpers: the reply is judged on lead-in and code
// only (see proto::judgeReply for why class, tail and length are not).
int query(const QByteArray &request, quint8 code, unsigned char *out, int mode, bool status)
{
    std::array<unsigned char, proto::kReplyAreaSize> reply{};
    int replyLength = 0;
    const int ret = exchange(request, reply.data(), replyLength, mode);
    if (status)
        qDebug("GetStatusPrinterInfo ret:%d", ret);
    else
        qDebug("GetPrinterInfo ret:%d", ret);

    if (out)
        std::memset(out, 0, proto::kResultBufferSize);
    if (ret != Result::Ok)
        return ret;

    const int copied = proto::judgeReply(reply.data(), int(reply.size()), code, out,
                                         out ? proto::kResultBufferSize : 0);
    if (copied < 0) {
        qDebug("get frame err");
        return Result::MalformedReply;
    }
    if (status) {
        for (int i = 0; i < copied; ++i)
            qDebug("get mesage :%02X", out[i]);
    }
    return Result::Ok;
}

} // namespace

int GetPrinterInfo(SetInfoType type, unsigned char *out, int mode)
{
    return query(proto::queryFrame(type), type, out, mode, false);
}

int ReadSetting(SetInfoType type, const settings::Model &model, settings::Values &values, int mode,
                QByteArray *payload)
{
    unsigned char buf[proto::kResultBufferSize];
    const int result = GetPrinterInfo(type, buf, mode);
    if (result == Result::Ok) {
        values.insert(settings::decode(type, buf, proto::kResultBufferSize, model));
        if (payload)
            *payload = QByteArray(reinterpret_cast<const char *>(buf), sizeof buf);
    }
    return result;
}

int SendSettingFrame(const QByteArray &frame, SetInfoType type, const settings::Values &values, int mode)
{
    for (const settings::Setting &s : settings::catalogue()) {
        if (s.code == type && s.secret) {
            qDebug().noquote() << "send:" << frame.left(6).toHex(' ').toUpper() << "..." << s.key << "length:"
                               << values.value(s.key).size();
            return writeOnly(frame, mode, false);
        }
    }
    return writeOnly(frame, mode, true);
}

int GetPrinterStatusInfo(POWER_InFo code, unsigned char *out, int mode)
{
    return query(proto::statusQueryFrame(code), code, out, mode, true);
}

int SetPrinterStatusButton(POWER_InFo code, int mode)
{
    return writeOnly(proto::functionFrame(code), mode, true);
}

int SendFrame(const QByteArray &frame, int mode)
{
    return writeOnly(frame, mode, true);
}

int SendChunk(const QByteArray &chunk, int mode, const std::function<bool()> &stop)
{
    const ChunkBudget budget{kChunkAttempts, kChunkAttemptMs};
    if (mode == MediumNet)
        return DeviceIoContrl_Net::PrinterDataIOChunk(chunk, budget, stop);
    if (mode == MediumUsb)
        return CDeviceIOOpera::PrinterDataIOChunk(chunk, budget, stop);
    if (isSerialMedium(mode))
        return DeviceIoContrl_Serial::PrinterDataIOChunk(chunk, budget, stop);
    return Result::NoTransport;
}

int StreamChunkSize(int mode)
{
    if (isSerialMedium(mode))
        return serial::chunkBytes(DeviceIoContrl_Serial::lineSettings(), kUsbDataChunk);
    return mode == MediumUsb ? kUsbDataChunk : kNetDataChunk;
}

QByteArray ReadBack(int mode)
{
    if (mode == MediumNet)
        return DeviceIoContrl_Net::readDebugData();
    if (mode == MediumUsb)
        return CDeviceIOOpera::readDebugData();
    if (isSerialMedium(mode))
        return DeviceIoContrl_Serial::readDebugData();
    return {};
}

int ReadStatusWord(int mode, DeviceIoContrl_Net *net, quint32 &word)
{
    // Large enough for the network's whole status reply frame.
    unsigned char buffer[proto::kMinReplyCapacity] = {};
    int length = 0;
    word = 0;
    if (mode == MediumNet) {
        if (!net)
            return Result::NetworkFailed;
        const int ret = net->ReadFromControlEndpoint(proto::kFrameOverhead, buffer, length);
        if (ret != Result::Ok)
            return ret;
        // Fewer than four payload bytes would put the tail into the word.
        if (buffer[5] < 4) {
            qDebug("status word: %d of 4 bytes in the reply", int(buffer[5]));
            return Result::NetworkFailed;
        }
        word = proto::readLeU32(buffer + 6);
        return Result::Ok;
    }
    if (mode == MediumUsb) {
        // The transport answers with libusb's own error codes; here they
        // become the tool's.
        if (const int ret = CDeviceIOOpera::ReadFromControlEndpoint(buffer, length); ret != 0) {
            qDebug("status word: control read failed (%d)", ret);
            return Result::UsbFailed;
        }
        if (length < 4) {
            qDebug("status word: %d of 4 bytes read", length);
            return Result::UsbFailed;
        }
        word = proto::readLeU32(buffer);
        return Result::Ok;
    }
    if (isSerialMedium(mode)) {
        // The line carries the network's status frame.
        const int ret = DeviceIoContrl_Serial::ReadFromControlEndpoint(buffer, length);
        if (ret == Result::Ok)
            word = proto::readLeU32(buffer + 6);
        return ret;
    }
    return Result::NoTransport;
}
