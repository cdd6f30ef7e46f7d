// Reply judging: the payload copied out of whatever came back lies inside
// the received bytes, is no longer than the length byte, the reply or the
// caller's buffer, and the rest of that buffer is zero; a refused reply
// leaves the buffer all zero.
#include "fuzz_check.h"
#include "protocol/frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 code = data[0];
    // Buffers of every small size, and the query helpers' own.
    const int outSize = data[1] == 0xFF ? proto::kResultBufferSize : data[1];
    // Exactly as many bytes as arrived, so that a read beyond them is caught.
    const std::vector<unsigned char> reply(data + 2, data + size);
    std::vector<unsigned char> out(size_t(outSize), 0xAA);
    const int replySize = int(reply.size());
    const int n = proto::judgeReply(reply.data(), replySize, code, out.data(), outSize);

    const bool headerOk = replySize >= 6 && reply[0] == 0x1B && reply[1] == 0xFF && reply[2] == 0xFE
                          && reply[4] == code;
    FUZZ_CHECK((n >= 0) == headerOk);
    const int copied = std::max(n, 0);
    if (n >= 0) {
        FUZZ_CHECK(n <= reply[5] && n <= replySize - 6 && n <= outSize);
        FUZZ_CHECK(n == std::min({int(reply[5]), replySize - 6, outSize}));
        FUZZ_CHECK(n == 0 || std::memcmp(out.data(), reply.data() + 6, size_t(n)) == 0);
    }
    FUZZ_CHECK(std::all_of(out.begin() + copied, out.end(), [](unsigned char b) { return b == 0; }));
    return 0;
}
