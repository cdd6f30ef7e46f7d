// Putting a saved profile back into a printer, setting by setting: which
// rows differ from what the printer holds, which of them go back unless
// the operator says otherwise, and the frames that carry them. The
// window's restore dialog shows the rows and sends the plan; everything it
// decides is here.
//
// A file holds the values of one printer. Restored onto that printer,
// every value that differs goes back. Restored onto another one (a clone:
// the file's serial number is not this printer's), what belongs to one
// unit (the serial number, the addresses and the address modes that go
// with them) stays as the printer has it unless the operator ticks it.
// An address mode never goes out without its addresses: switching a
// printer to a static address it does not have, or off one it keeps,
// would make it unreachable.
#pragma once

#include "protocol/settings_catalogue.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace restore {

struct Row
{
    enum class Skip {
        None,
        NotOnModel,   // the printer's model has no such setting
        NotAccepted,  // the model does not take the file's value
    };
    QString key;
    QString printer;  // the printer's value; null when it has none this tool knows
    QString file;     // the file's value as this printer would hold it (lengths in its dots)
    bool differs = false;
    bool checked = false;
    Skip skip = Skip::None;
};

struct Comparison
{
    QList<Row> rows;  // the file's settings, in catalogue order
    // The file's serial number is not this printer's (or one of them is
    // not known): the file is a clone's source, not this printer's backup.
    bool otherPrinter = false;
};

// The file's values against the printer's, on the printer's model: the
// rows that differ are checked, except identity rows of another printer's
// file. Lengths compare in the printer's dots.
Comparison compare(const settings::Values &printer, const settings::Values &file, const settings::Model &model);

// Ticks or unticks one row, with the rows tied to it: ticking an address
// mode ticks the differing addresses of its block, unticking such an
// address unticks the mode. Skipped rows stay unticked.
void setChecked(QList<Row> &rows, const QString &key, bool checked);

// A row goes out: ticked, not skipped, and not a mode whose block keeps a
// differing address of the printer's.
QStringList keysToSend(const QList<Row> &rows);

// Every key whose printer value the frames need: all keys of every
// instruction that carries a row to send.
QStringList keysToRead(const QList<Row> &rows, const settings::Model &model);

struct Step
{
    SetInfoType code;
    settings::Values values;  // every key the frame carries
};
struct Plan
{
    QList<Step> steps;        // in the order the pages send them
    bool printDone = false;   // a print page instruction is among them
    bool restart = false;     // the printer takes them after a restart
    QStringList unread;       // keys the frames need that `printerNow` lacks
};
// The frames that carry the rows to send: the file's values of those rows,
// and for the other keys of the same frame the printer's values read just
// before (`printerNow`). Nothing is planned when a needed value is unread.
Plan plan(const QList<Row> &rows, const settings::Values &printerNow, const settings::Model &model);

// After the send, a row held when the printer now has what was sent.
bool held(const Row &row, const settings::Values &readBack);

} // namespace restore
