// Query replies to settings: a reply yields only keys its instruction
// carries on that model, and every number, size, choice and address it yields
// is one the same setting's check takes back unchanged, so whatever a
// printer reports can be saved in a profile and set again (but a TCP port
// of 0, which leaves the printer unreachable: shown, never set).
#include "fuzz_check.h"
#include "protocol/settings_catalogue.h"

#include <algorithm>
#include <array>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    QList<SetInfoType> codes;
    for (const settings::Setting &s : settings::catalogue())
        if (!codes.contains(s.code))
            codes << s.code;
    const SetInfoType code = codes.at(data[0] % codes.size());
    const settings::Model model{data[1] & 1 ? 12 : 8, bool(data[1] & 2)};
    // A reply payload (at most 255 bytes) in the query helpers' zero-filled
    // result buffer.
    std::array<unsigned char, 1024> buffer{};
    const int n = int(std::min<size_t>(size - 2, 255));
    std::memcpy(buffer.data(), data + 2, size_t(n));
    const settings::Values values = settings::decode(code, buffer.data(), n, model);

    const QStringList carried = settings::keysOf(code, model);
    for (auto it = values.begin(); it != values.end(); ++it) {
        FUZZ_CHECK(carried.contains(it.key()));
        const settings::Setting *s = settings::find(it.key());
        // Texts are left as the printer sent them, bytes that are no UTF-8
        // included, and so is the access point's address, which travels as
        // a text too; read-only values have nothing to check.
        if (s->kind == settings::Kind::Text || s->kind == settings::Kind::Info || s->code == AP_MODE)
            continue;
        if (it.key().endsWith(QLatin1String(".tcp_port")) && it.value() == QLatin1String("0"))
            continue;
        const settings::Checked back = settings::check(*s, it.value(), model);
        if (!back.ok() || back.value != it.value())
            std::fprintf(stderr, "%s = \"%s\": %s\n", qPrintable(it.key()), qPrintable(it.value()), qPrintable(back.error));
        FUZZ_CHECK(back.ok() && back.value == it.value());
    }
    return 0;
}
