// Status decoding: one line per condition bit (bits 0..14) set in the
// word, each ended by a line feed, nothing for the bits above; the
// resolution reply gives 16-bit values and a width in whole millimetres.
#include "fuzz_check.h"
#include "protocol/frame.h"
#include "protocol/status.h"

#include <bit>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzQuiet();
    if (size < 5)
        return 0;
    quint32 word = 0;
    std::memcpy(&word, data, sizeof word);
    const QString text = checkPrinterStatus(word);
    const int conditions = std::popcount(word & 0x7FFFu);
    FUZZ_CHECK(text.count(QLatin1Char('\n')) == conditions);
    FUZZ_CHECK(conditions == 0 ? text.isEmpty() : text.endsWith(QLatin1Char('\n')));

    const int mmToDot = data[4] % 16;
    const proto::ResolutionInfo info = proto::decodeResolution(data, mmToDot);
    FUZZ_CHECK(info.dpi == data[0] + 256 * data[1] && info.maxWidthDots == data[2] + 256 * data[3]);
    FUZZ_CHECK(info.maxWidthMm == (mmToDot >= 1 ? info.maxWidthDots / mmToDot : 0));
    return 0;
}
