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

// One entry per name (names compare case-sensitively): the connected one
// wins, then the stronger signal; with neither, the first seen stays. The
// result is in name order.
QList<WifiInfo> uniqueNetworks(const QList<WifiInfo> &networks);

// The connected network first, the rest by signal strength, strongest first.
void sortWifiList(QList<WifiInfo> &list);

// NetworkManager reports signal quality in percent (0-100). The list works
// in dBm, so quality maps linearly onto -100..-50 dBm: dBm = percent / 2 - 100,
// integer division. 100 % is -50 dBm (an excellent signal), 0 % is -100 dBm,
// the value the list uses for "no strength known".
int percentToDbm(int percent);
