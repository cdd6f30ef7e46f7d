// Discovery replies and identity texts: the copied payload is the
// datagram's own bytes from offset 7, no more than its length byte, the
// datagram or the work buffer; an identity splits into five texts only
// when four 00 bytes end them; a manufacturer is a trimmed piece of the
// device id without ";".
#include "fuzz_check.h"
#include "protocol/frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int workSize = data[0] == 0xFF ? proto::kIdentityBufferSize : data[0] + 1;
    const QByteArray datagram(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    std::vector<unsigned char> work(size_t(workSize), 0xAA);
    const int n = proto::copyDiscoveryPayload(datagram, work.data(), workSize);
    const int expected = datagram.size() <= 7 ? 0
        : int(std::min<qsizetype>({quint8(datagram.at(6)), datagram.size() - 7, workSize}));
    FUZZ_CHECK(n == expected);
    FUZZ_CHECK(std::memcmp(work.data(), datagram.constData() + std::min<qsizetype>(7, datagram.size()), size_t(n)) == 0);
    FUZZ_CHECK(std::all_of(work.begin() + n, work.end(), [](unsigned char b) { return b == 0; }));

    // The identity in the work buffer, exactly as large as the copy.
    const auto identity = proto::splitDeviceIdentity(work.data(), n);
    FUZZ_CHECK(identity.has_value() == (std::count(work.begin(), work.begin() + n, 0) >= 4));
    // A payload lies in the 1024-byte result buffer: what passes its end is
    // not seen, and the rest of the buffer is zero.
    const auto fromPayload = proto::splitDeviceIdentity(datagram);
    const qsizetype used = std::min<qsizetype>(datagram.size(), proto::kIdentityBufferSize);
    FUZZ_CHECK(fromPayload.has_value() == (datagram.left(used).count('\0') + proto::kIdentityBufferSize - used >= 4));
    const QString id = fromPayload ? fromPayload->deviceId() : QString::fromUtf8(datagram);
    const QString maker = proto::identityManufacturer(id);
    if (!maker.isNull()) {
        FUZZ_CHECK(id.contains(maker) && !maker.contains(QLatin1Char(';')) && maker == maker.trimmed());
    }
    return 0;
}
