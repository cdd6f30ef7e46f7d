#include "pages/kept_bytes.h"

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
    const auto kept = m_bytes.constFind(key);
    return kept != m_bytes.cend() && QString::fromUtf8(*kept) == text ? *kept : text.toUtf8();
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
