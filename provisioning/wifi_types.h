// The values the provisioning window works with: the networks the computer
// can see, and the credentials the operator confirmed for the printer.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

// One visible network. rssi is in dBm (negative); -100 when no strength is
// known; 1 for the connected network when the scan saw it only as the
// computer's current connection and not among the visible ones.
struct WifiInfo
{
    QString ssid;
    int rssi = -100;
    bool isCurrent = false;
    // The name's bytes as the network has them, when they are not the
    // UTF-8 of ssid (NetworkManager reports names as bytes; one that is
    // not UTF-8 shows replacement characters); empty otherwise.
    QByteArray ssidBytes;
    bool operator==(const WifiInfo &) const = default;
    // The name as it goes to the printer.
    QByteArray bytes() const { return ssidBytes.isEmpty() ? ssid.toUtf8() : ssidBytes; }
};

// What the window hands to the main window; valid in every credential it
// emits. Both texts are trimmed; the password may be empty (open network).
// ssidBytes is the name as it goes to the printer: a listed network's own
// bytes, the UTF-8 of a typed name.
struct WifiCred
{
    bool valid = false;
    QString ssid;
    QString password;
    QByteArray ssidBytes;
};

Q_DECLARE_METATYPE(WifiCred)
