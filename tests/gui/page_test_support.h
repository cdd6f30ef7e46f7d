// Small helpers shared by the connection, field-repair and page tests.
#pragma once

#include "gui_harness.h"
#include "mainwindow.h"
#include "printer_fixture.h"
#include "ui/shared_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QStringList>
#include <QTcpServer>
#include <QTest>

namespace pagetest {

// A loopback port on which nothing listens (bound once, then released).
inline quint16 closedTcpPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        qFatal("no free loopback port");
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

// Payload of a query reply, written as hex ("18 00").
inline QByteArray bytesOf(const QString &hexText)
{
    return QByteArray::fromHex(hexText.toLatin1());
}

// Class-02 query frame for a code, as hex.
inline QString queryHex(quint8 code)
{
    return QStringLiteral("1B FF FE 02 %1 00 1B FE FF").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

// Class-01 set frame for a code and payload (hex without the length), as hex.
inline QString setHex(quint8 code, const QString &payloadHex)
{
    const QByteArray payload = bytesOf(payloadHex);
    QString text = QStringLiteral("1B FF FE 01 %1 %2")
                       .arg(code, 2, 16, QLatin1Char('0'))
                       .arg(payload.size(), 2, 16, QLatin1Char('0'))
                       .toUpper();
    if (!payload.isEmpty())
        text += QLatin1Char(' ') + hex(payload);
    return text + QStringLiteral(" 1B FE FF");
}

// The frame that tells the printer its print settings are complete.
inline QString printSettingsDoneHex()
{
    return QStringLiteral("1B FF FE 00 06 00 1B FE FF");
}

inline QString mediumName(TestMedium medium)
{
    return medium == TestMedium::Tcp ? QStringLiteral("tcp") : QStringLiteral("usb");
}

// What a widget shows: a line edit's text, a combo box's current text,
// "<widget>#index" style lookups are not needed by the tests.
inline QString shown(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    qFatal("widget %s shows no value", qPrintable(w->objectName()));
    return {};
}

// Enabled state of several widgets as "name=1 name=0", for comparisons
// that say at once which widget differs.
inline QString enabledStates(const PrinterWindow &pw, const QStringList &names)
{
    QStringList parts;
    for (const QString &name : names)
        parts << QStringLiteral("%1=%2").arg(name).arg(
            pw.widget<QWidget>(name.toLatin1().constData())->isEnabled() ? 1 : 0);
    return parts.join(QLatin1Char(' '));
}

inline QString expectedStates(const QStringList &names, const QList<bool> &enabled)
{
    QStringList parts;
    for (int i = 0; i < names.size(); ++i)
        parts << QStringLiteral("%1=%2").arg(names.at(i)).arg(enabled.at(i) ? 1 : 0);
    return parts.join(QLatin1Char(' '));
}

// The seven page set buttons.
inline QStringList setButtons()
{
    return {QStringLiteral("pushButton_PrintSettingSet"), QStringLiteral("pushButton_DistanceSettingSet"),
            QStringLiteral("pushButton_WifiSettingSet"), QStringLiteral("pushButton_BleSettingSet"),
            QStringLiteral("pushButton_NetportSettingSet"), QStringLiteral("pushButton_ComSettingSet"),
            QStringLiteral("pushButton_StripperSettingSet")};
}

} // namespace pagetest
