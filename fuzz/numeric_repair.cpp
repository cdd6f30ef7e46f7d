// Numeric field repair: a repaired millimetre value lies inside its range
// and the field shows exactly that value; refused text brings back the
// last valid value; a repaired whole number is what the field shows.
#include "fuzz_check.h"
#include "ui/numeric_repair.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    // The window's ranges (label width and height), and whole ranges
    // made of the first bytes.
    struct Range { double min, max; };
    const Range ranges[] = {{20, 108}, {10, 1778}, {double(data[1]), double(data[1]) + data[2] * 8.0}};
    const Range range = ranges[data[0] % 3];
    const double last = range.min;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3)).trimmed();

    const repair::DecimalResult d = repair::repairDecimal(text, range.min, range.max, last);
    if (d.valid) {
        FUZZ_CHECK(d.value >= range.min && d.value <= range.max);
        FUZZ_CHECK(d.text.toDouble() == d.value);
    } else {
        FUZZ_CHECK(d.value == last && d.text == repair::oneDecimal(last) && d.showTip);
    }

    const repair::IntegerResult i = repair::repairInteger(text, 7);
    if (i.valid)
        FUZZ_CHECK(i.text == QString::number(i.value));
    else
        FUZZ_CHECK(i.value == 7 && i.text == QStringLiteral("7"));
    return 0;
}
