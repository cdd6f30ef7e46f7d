// Byte helpers shared by the protocol tests.
#pragma once

#include <QByteArray>

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

inline const unsigned char *raw(const QByteArray &bytes)
{
    return reinterpret_cast<const unsigned char *>(bytes.constData());
}

inline QByteArray toBytes(const unsigned char *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}
