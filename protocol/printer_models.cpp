#include "protocol/printer_models.h"

namespace models {

namespace {

bool containsAny(const QString &text, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (text.contains(QLatin1String(name), Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace

bool twelveDots(const QString &text)
{
    return containsAny(text, {"862J", "J62QX", "865J", "FB953XR", "N480"});
}

bool firmwareOnly(const QString &text)
{
    return containsAny(text, {"KV-520", "KV-630"});
}

bool extendedPrint(const QString &text)
{
    return containsAny(text, {"J62", "K71", "RM745", "QRX", "857Q", "ZD-N310", "ZD-N480", "ZD-970WS",
                              "ZD-971BWS"});
}

settings::Model settingsModel(const QString &text)
{
    return {twelveDots(text) ? 12 : 8, extendedPrint(text), firmwareOnly(text)};
}

} // namespace models
