#include "pages/kept_bytes.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"

void KeptBytes::keepText(const QString &key, const QByteArray &bytes)
{
    m_bytes.insert(key, bytes);
}

void KeptBytes::keepTexts(const QStringList &keys, const QByteArray &payload)
{
    const QList<QByteArray> texts = proto::payloadTextBytes(reinterpret_cast<const unsigned char *>(payload.constData()),
                                                            int(payload.size()), int(keys.size()));
    for (qsizetype i = 0; i < keys.size(); ++i)
        keepText(keys[i], texts[i]);
}

void KeptBytes::keepChoices(const QStringList &keys, const QByteArray &payload)
{
    for (qsizetype i = 0; i < keys.size() && i < payload.size(); ++i)
        m_bytes.insert(keys[i], payload.mid(i, 1));
}

QByteArray KeptBytes::text(const QString &key, const QString &text) const
{
    // The field may show the bytes decoded as UTF-8 (U+FFFD for what is
    // not) or losslessly (proto::losslessText): either way, unedited means
    // the bytes go back. An edited text keeps what it still holds of the
    // bytes read, the rest as UTF-8.
    const QByteArray bytes = proto::textBytes(text);
    const auto kept = m_bytes.constFind(key);
    return kept != m_bytes.cend() && (bytes == *kept || QString::fromUtf8(*kept) == text) ? *kept : bytes;
}

int KeptBytes::choice(const QString &key, int index) const
{
    const auto kept = m_bytes.constFind(key);
    if (index >= 0 || kept == m_bytes.cend() || kept->size() != 1)
        return index;
    return quint8(kept->at(0));
}

void KeptBytes::clear()
{
    m_bytes.clear();
}
