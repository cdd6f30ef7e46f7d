// Frames spelled out byte by byte, independent of the tool's own builder:
// lead-in 1B FF FE, class, code, length, payload, tail 1B FE FF.
#pragma once

#include <QByteArray>

inline QByteArray frame(quint8 cls, quint8 code, const QByteArray &payload = {})
{
    return QByteArray::fromHex("1bfffe") + char(cls) + char(code) + char(payload.size()) + payload
        + QByteArray::fromHex("1bfeff");
}
