// Settings profiles: a printer's values in the operator's units, as a
// readable JSON file that diffs well (one key per line, keys in page order,
// format name and version inside), and what applying one would change.
//
//   {
//     "format": "labelsetup-profile",
//     "version": 1,
//     "information": { "model": "ZD-N480", "dots_per_mm": 12 },
//     "settings": {
//       "print.speed": 2,
//       "print.label_width_mm": 100.0,
//       ...
//     }
//   }
//
// Numbers are JSON numbers, everything else (names, texts, addresses) JSON
// strings. The information block is for the reader; loading ignores it.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace profile {

inline constexpr char kFormat[] = "labelsetup-profile";
inline constexpr int kVersion = 1;

struct Profile
{
    QString model;
    int dotsPerMm = 0;
    settings::Values values;
};

// What goes into an exported profile besides the settings any printer of
// the fleet shares: passwords and PINs, and what belongs to one unit (its
// serial number and static addresses).
struct Selection
{
    bool secrets = false;
    bool identity = false;
};
bool selected(const settings::Setting &setting, const Selection &selection);

QByteArray toJson(const Profile &profile);

// Refuses, naming the file, the key and the reason: text that is not JSON,
// another format or version, an unknown or read-only key, a value of the
// wrong type or one no printer model can take.
struct Loaded
{
    Profile profile;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
Loaded fromJson(const QByteArray &json, const QString &fileName);

// A profile with a static address for either network block must not go to
// several printers at once.
bool holdsStaticAddress(const Profile &profile);

struct Change
{
    QString key;
    QString before;  // empty when the printer's value could not be read
    QString after;
};
// Keys of `wanted` whose value differs from the printer's, in catalogue
// order. Keys the model does not have are left out.
QList<Change> diff(const settings::Values &printer, const settings::Values &wanted,
                   const settings::Model &model);
// A change as a line for the operator: "key: old -> new", with secrets
// shown as "(hidden)".
QString describe(const Change &change);

} // namespace profile
