// Turning what a host reports about visible Wi-Fi networks into the list the
// provisioning window shows. Pure functions, so that every host's scan ends
// in the same list rules and the tests can feed them plain text.
#pragma once

#include "provisioning/wifi_types.h"

// The networks in the XML that macOS's system profiler prints for its
// AirPort data type: the connected network, then the entries of the first
// known network array (or, without one, every dictionary with an SSID key).
// The connected network is appended with rssi 1 when no array entry names it.
QList<WifiInfo> parseSystemProfilerOutput(const QString &xml);

// One entry per name (names compare case-sensitively, as the bytes they go
// out as: two names that are not UTF-8 may show alike): the connected one
// wins, then the stronger signal; with neither, the first seen stays. The
// result is in the order of those bytes.
QList<WifiInfo> uniqueNetworks(const QList<WifiInfo> &networks);

// The connected network first, the rest by signal strength, strongest first.
void sortWifiList(QList<WifiInfo> &list);

// A network whose name comes as bytes (NetworkManager): the name shown is
// the bytes decoded as UTF-8 (bytes that are not UTF-8 as U+FFFD), trimmed
// of surrounding white space; the bytes kept are trimmed of the same white
// space and nothing else.
WifiInfo networkFromBytes(const QByteArray &ssid, int rssi, bool isCurrent);

// NetworkManager reports signal quality in percent (0-100). The list works
// in dBm, so quality maps linearly onto -100..-50 dBm: dBm = percent / 2 - 100,
// integer division. 100 % is -50 dBm (an excellent signal), 0 % is -100 dBm,
// the value the list uses for "no strength known".
int percentToDbm(int percent);
