// The values the provisioning window works with: the networks the computer
// can see, and the credentials the operator confirmed for the printer.
#pragma once

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
    bool operator==(const WifiInfo &) const = default;
};

// What the window hands to the main window; valid in every credential it
// emits. Both texts are trimmed; the password may be empty (open network).
struct WifiCred
{
    bool valid = false;
    QString ssid;
    QString password;
};

Q_DECLARE_METATYPE(WifiCred)
