// The profile loader: a file it takes holds only writable catalogue keys,
// each value one that some printer model's check takes (unchanged, except
// label sizes, which stay as written until a printer turns them into its
// own dots), and it saves back to a file that loads again to the same
// values.
#include "fuzz_check.h"
#include "protocol/settings_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    const profile::Loaded loaded = profile::fromJson(json, QStringLiteral("fuzz.json"));
    if (!loaded.ok())
        return 0;
    const settings::Values &values = loaded.profile.values;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const settings::Setting *s = settings::find(it.key());
        FUZZ_CHECK(s && s->writable());
        bool taken = false;
        for (const settings::Model &m : {settings::Model{8, true}, {12, true}, {8, false}, {12, false}}) {
            const settings::Checked c = settings::check(*s, it.value(), m);
            const bool same = s->kind == settings::Kind::Decimal || c.value == it.value();
            taken = taken || (settings::appliesTo(*s, m) && c.ok() && same);
        }
        if (!taken)
            std::fprintf(stderr, "%s = \"%s\" is taken by no model\n", qPrintable(it.key()), qPrintable(it.value()));
        FUZZ_CHECK(taken);
    }
    const QByteArray saved = profile::toJson(loaded.profile);
    const profile::Loaded again = profile::fromJson(saved, QStringLiteral("saved.json"));
    if (!again.ok() || again.profile.values != values)
        std::fprintf(stderr, "saved:\n%s\nreloaded: %s\n", saved.constData(), qPrintable(again.error));
    FUZZ_CHECK(again.ok() && again.profile.values == values);
    return 0;
}
