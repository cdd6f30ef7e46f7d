// The TCP stream cut: a cut frame starts with the lead-in, class and code
// asked for, a tail arrived behind its header, and its length is its length
// byte + 9, clipped to what arrived and to the caller's capacity.
#include "fuzz_check.h"
#include "protocol/frame.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const quint8 frameClass = data[0] % 3;
    const quint8 code = data[1];
    // Capacities around the real ones (256 and 264) and far below them.
    const qsizetype capacity = data[2] < 0x80 ? data[2] : proto::kMinReplyCapacity + (data[2] & 0x0F);
    const QByteArray received(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    const proto::StreamFrame cut = proto::extractReplyFrame(received, frameClass, code, capacity);

    const QByteArray head = QByteArray::fromHex("1BFFFE") + char(frameClass) + char(code);
    FUZZ_CHECK(cut.start == received.indexOf(head));
    if (!cut.complete) {
        FUZZ_CHECK(cut.frame.isEmpty());
        return 0;
    }
    FUZZ_CHECK(cut.start >= 0 && cut.start + 5 < received.size());
    FUZZ_CHECK(received.indexOf(QByteArray::fromHex("1BFEFF"), cut.start + 6) >= 0);
    const qsizetype declared = quint8(received.at(cut.start + 5)) + proto::kFrameOverhead;
    const qsizetype expected = std::min({declared, received.size() - cut.start, capacity});
    FUZZ_CHECK(cut.frame.size() == expected);
    FUZZ_CHECK(cut.frame == received.mid(cut.start, expected));
    return 0;
}
