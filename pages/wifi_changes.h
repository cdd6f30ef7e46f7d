// What a Set on the Wi-Fi page sends: only the groups of settings that
// differ from the values last read from or applied to the printer. The
// printer restarts its wireless side for each instruction, so sending an
// unchanged group would cost a reconnection for nothing.
#pragma once

#include <QString>

// The Wi-Fi page's values, as last read from or applied to the printer (the
// window's snapshot) or as the page shows them now. Indices are combo
// indices; -1 and empty texts mean nothing read yet. The MAC is not part
// of it (read only). The AP address travels in the AP network's frame: with
// "AP" selected, changing it alone sends that frame.
struct WifiSettingsSnapshot
{
    int wifiMode = -1;
    int ipMode = -1;
    QString staName, staPassword, apName, apPassword, apIp, tcpPort;
    QString ip, subnetMask, gateway, dns;
};

// The Wi-Fi mode combo: station at 0, access point at 1.
constexpr int kWifiApIndex = 1;

// The instructions a Set sends, in the order it sends them.
struct WifiChanges
{
    bool mode = false;          // 0x30, the operating mode
    bool credentials = false;   // 0x26 or 0x27 by mode: any name or password, or the AP address in AP mode
    bool port = false;          // 0x29, the TCP service port
    bool ip = false;            // 0x28, the IP group
    bool any() const { return mode || credentials || port || ip; }
};

// Texts compare exactly (case-sensitive).
WifiChanges wifiChanges(const WifiSettingsSnapshot &snapshot, const WifiSettingsSnapshot &page);

// An access point needs a pass phrase of at least 8 characters (code
// points, as people count them): a Set that would send the AP network (AP
// selected, a name, password or its address changed) with a shorter one
// must be refused before anything is sent.
constexpr int kMinApPasswordLength = 8;
bool apPasswordTooShort(const WifiChanges &changes, bool apSelected, const QString &apPassword);
