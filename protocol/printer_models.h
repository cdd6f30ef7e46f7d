// Model groups, recognised by (case-sensitive) model names in a device
// list entry or in the model text of the printer's identity.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QString>

namespace models {

// 12 dots per millimetre (300 dpi) instead of 8.
bool twelveDots(const QString &text);
// Models that take firmware only: no settings pages.
bool firmwareOnly(const QString &text);
// Models with a printing method (thermal or transfer) and eight speeds.
bool extendedPrint(const QString &text);
// What the settings catalogue needs to know about the model.
settings::Model settingsModel(const QString &text);

} // namespace models
