// Operator input to settings: a value check takes is its own canonical
// form (checked again it comes back unchanged) and lies inside the
// setting's rules (a length's dots inside its range); a refusal carries no
// value.
#include "fuzz_check.h"
#include "protocol/conversions.h"
#include "protocol/instructions.h"
#include "protocol/settings_catalogue.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QList<settings::Setting> &all = settings::catalogue();
    const settings::Setting &s = all.at(data[0] % all.size());
    const settings::Model model{data[1] & 1 ? 12 : 8, bool(data[1] & 2)};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const settings::Checked checked = settings::check(s, text, model);
    FUZZ_CHECK(checked.ok() || checked.value.isEmpty());
    if (!checked.ok())
        return 0;
    FUZZ_CHECK(s.writable());
    if (s.kind == settings::Kind::Choice)
        FUZZ_CHECK(s.choices.contains(checked.value));
    if (s.kind == settings::Kind::Text)
        FUZZ_CHECK(proto::textBytes(checked.value).size() <= proto::kMaxTextBytes);
    // A length goes out as dots inside its range.
    if (s.kind == settings::Kind::Decimal) {
        const settings::Range r = *settings::range(s, model);
        const int dots = settings::dotsOf(checked.value, model);
        FUZZ_CHECK(dots >= std::lround(r.min * model.mmToDot) && dots <= std::lround(r.max * model.mmToDot));
    }
    const settings::Checked again = settings::check(s, checked.value, model);
    if (!again.ok() || again.value != checked.value)
        std::fprintf(stderr, "%s: \"%s\" -> \"%s\" -> %s\n", qPrintable(s.key), qPrintable(text),
                     qPrintable(checked.value), qPrintable(again.ok() ? again.value : again.error));
    FUZZ_CHECK(again.ok() && again.value == checked.value);
    return 0;
}
