// Settings profiles: a printer's values in the operator's units, as a
// readable JSON file that diffs well (one key per line, keys in page order,
// format name and version inside), and what applying one would change.
// The command line writes and reads them, and so does the window's backup.
//
//   {
//     "format": "labelsetup-profile",
//     "version": 1,
//     "information": { "model": "ZD-N480", "dots_per_mm": 12 },
//     "settings": {
//       "print.speed": 2,
//       "print.label_gap_mm": 2.583,
//       "wifi.sta.ssid": {"hex": "C4E3BAC3"},
//       ...
//     }
//   }
//
// Numbers are JSON numbers: lengths in millimetres with three decimals,
// which bring the source's dots back at 8 and at 12 dots/mm (each printer
// rounds them to its own dots, half away from zero). Names, texts and
// addresses are JSON strings, except a text that is not UTF-8 (a GBK
// network name): {"hex": "..."} holds its bytes. The information block is
// for the reader; loading ignores it.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QByteArray>
#include <QJsonValue>
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

// One value as profiles and the command line's JSON carry it: a number, a
// string, or {"hex": "..."} for a text that is not UTF-8.
QJsonValue jsonValue(const settings::Setting &setting, const QString &value);

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
    QString before;  // null when the printer's value could not be read
    QString after;
};
// Keys of `wanted` whose value differs from the printer's, in catalogue
// order, both in the model's own form (check() for the model), so that a
// length compares in the printer's dots. Keys the model does not have are
// left out.
QList<Change> diff(const settings::Values &printer, const settings::Values &wanted,
                   const settings::Model &model);

} // namespace profile
