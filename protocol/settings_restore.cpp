#include "protocol/settings_restore.h"

#include <algorithm>

namespace restore {

namespace {

bool isMode(const settings::Setting &s)
{
    return s.identity && s.kind == settings::Kind::Choice;
}

bool isAddress(const settings::Setting &s)
{
    return s.identity && s.kind == settings::Kind::Address;
}

// The address mode and the addresses of one block share its instruction.
bool sameBlock(const settings::Setting &a, const settings::Setting &b)
{
    return a.code == b.code && a.key != b.key;
}

Row *rowOf(QList<Row> &rows, const QString &key)
{
    for (Row &row : rows) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}

bool sendable(const Row &row)
{
    return row.checked && row.skip == Row::Skip::None;
}

} // namespace

Comparison compare(const settings::Values &printer, const settings::Values &file, const settings::Model &model)
{
    Comparison result;
    const QString serial = QStringLiteral("serial.serial_number");
    result.otherPrinter = !file.contains(serial) || !printer.contains(serial) || file.value(serial) != printer.value(serial);
    for (const settings::Setting &s : settings::catalogue()) {
        if (!file.contains(s.key))
            continue;
        Row row;
        row.key = s.key;
        row.printer = printer.contains(s.key) ? printer.value(s.key) : QString();
        row.file = file.value(s.key);
        if (!settings::appliesTo(s, model)) {
            row.skip = Row::Skip::NotOnModel;
        } else if (const settings::Checked checked = settings::check(s, row.file, model); !checked.ok()) {
            row.skip = Row::Skip::NotAccepted;
        } else {
            row.file = checked.value;
            row.differs = row.printer.isNull() || row.printer != row.file;
            row.checked = row.differs && !(s.identity && result.otherPrinter);
        }
        result.rows << row;
    }
    return result;
}

void setChecked(QList<Row> &rows, const QString &key, bool checked)
{
    Row *row = rowOf(rows, key);
    const settings::Setting *s = settings::find(key);
    if (!row || !s || row->skip != Row::Skip::None)
        return;
    row->checked = checked;
    for (Row &other : rows) {
        const settings::Setting *o = settings::find(other.key);
        if (!o || !sameBlock(*s, *o) || other.skip != Row::Skip::None)
            continue;
        if (checked && isMode(*s) && isAddress(*o) && other.differs)
            other.checked = true;
        if (!checked && isAddress(*s) && row->differs && isMode(*o))
            other.checked = false;
    }
}

QStringList keysToSend(const QList<Row> &rows)
{
    QStringList keys;
    for (const Row &row : rows) {
        if (!sendable(row))
            continue;
        const settings::Setting *s = settings::find(row.key);
        const bool addressKept = s && isMode(*s) && std::any_of(rows.begin(), rows.end(), [&](const Row &other) {
            const settings::Setting *o = settings::find(other.key);
            return o && isAddress(*o) && sameBlock(*s, *o) && other.differs && !sendable(other);
        });
        if (!addressKept)
            keys << row.key;
    }
    return keys;
}

QStringList keysToRead(const QList<Row> &rows, const settings::Model &model)
{
    QStringList keys;
    for (const SetInfoType code : settings::instructionsFor(keysToSend(rows), model))
        keys << settings::keysOf(code, model);
    return keys;
}

Plan plan(const QList<Row> &rows, const settings::Values &printerNow, const settings::Model &model)
{
    Plan result;
    const QStringList send = keysToSend(rows);
    for (const SetInfoType code : settings::instructionsFor(send, model)) {
        Step step{code, {}};
        for (const QString &key : settings::keysOf(code, model)) {
            if (send.contains(key)) {
                for (const Row &row : rows) {
                    if (row.key == key)
                        step.values.insert(key, row.file);
                }
            } else if (printerNow.contains(key)) {
                step.values.insert(key, printerNow.value(key));
            } else {
                result.unread << key;
            }
        }
        const settings::Setting *first = nullptr;
        for (const settings::Setting &s : settings::catalogue()) {
            if (s.code == code && !first)
                first = &s;
        }
        result.printDone = result.printDone || settings::needsPrintDone(code);
        result.restart = result.restart || (first && settings::needsRestart(first->page));
        result.steps << step;
    }
    // Nothing goes out with a value nobody read.
    if (!result.unread.isEmpty())
        return Plan{{}, false, false, result.unread};
    return result;
}

bool held(const Row &row, const settings::Values &readBack)
{
    return readBack.contains(row.key) && readBack.value(row.key) == row.file;
}

} // namespace restore
