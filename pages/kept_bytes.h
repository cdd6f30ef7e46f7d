// What the printer sent for the texts and choices of the pages, kept so
// that a set sends back what nobody changed exactly as it came.
//
// Bytes that are not UTF-8 (network and device names in GBK are common)
// would not survive encoding the field's text again as UTF-8. So while a
// field still shows the text decoded from the bytes kept for it, those
// bytes go back unchanged; once edited, the field's text goes as UTF-8.
//
// A choice byte that the page's combo does not list leaves the combo
// without a selection. Its index, -1, would go out as FF: a value nobody
// chose. While the combo has no selection, the byte read goes back instead.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class KeptBytes
{
public:
    // Under a setting key: a text as the printer sent it (without its 00).
    void keepText(const QString &key, const QByteArray &bytes);
    // From a query's payload (the zero-filled result buffer): its texts,
    // each ended by 00, or its choice bytes, one per key in payload order.
    void keepTexts(const QStringList &keys, const QByteArray &payload);
    void keepChoices(const QStringList &keys, const QByteArray &payload);
    // What a set sends for a field that shows `text`.
    QByteArray text(const QString &key, const QString &text) const;
    // What a set sends for a combo at `index`: the index, or while there is
    // no selection the byte read (-1 when none was).
    int choice(const QString &key, int index) const;
    // The values belong to the printer they were read from.
    void clear();

private:
    QHash<QString, QByteArray> m_bytes;
};
