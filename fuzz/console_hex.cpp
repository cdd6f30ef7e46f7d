// The debug console's hexadecimal input: text the parser takes prints back
// as the same pairs (one blank between them, upper case); a USB reply cut
// to its frame is a piece of that reply from head to tail.
#include "fuzz_check.h"
#include "ui/console_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    if (const std::optional<QByteArray> parsed = console::parseHex(text)) {
        QString pairs = text.toUpper();
        for (qsizetype i = 2; i < pairs.size(); i += 3)
            pairs[i] = QLatin1Char(' ');
        FUZZ_CHECK(console::hexText(*parsed) == pairs);
        FUZZ_CHECK(parsed->size() == (text.size() + 1) / 3);
    }
    // Leaving hexadecimal mode takes any text the area holds.
    (void)console::textFromHex(text);

    const QByteArray cut = console::trimUsbReply(bytes);
    if (cut != bytes) {
        FUZZ_CHECK(bytes.contains(cut));
        FUZZ_CHECK(cut.startsWith(QByteArray::fromHex("1BFFFE")) && cut.endsWith(QByteArray::fromHex("1BFEFF")));
    }
    return 0;
}
