#include "pages/wifi_changes.h"

#include <QList>

WifiChanges wifiChanges(const WifiSettingsSnapshot &snapshot, const WifiSettingsSnapshot &page)
{
    WifiChanges changes;
    changes.mode = page.wifiMode != snapshot.wifiMode;
    changes.credentials = page.staName != snapshot.staName || page.staPassword != snapshot.staPassword
                          || page.apName != snapshot.apName || page.apPassword != snapshot.apPassword
                          || (page.wifiMode == kWifiApIndex && page.apIp != snapshot.apIp);
    changes.port = page.tcpPort != snapshot.tcpPort;
    changes.ip = page.ipMode != snapshot.ipMode || page.subnetMask != snapshot.subnetMask
                 || page.dns != snapshot.dns || page.ip != snapshot.ip || page.gateway != snapshot.gateway;
    return changes;
}

bool apPasswordTooShort(const WifiChanges &changes, bool apSelected, const QString &apPassword)
{
    return apSelected && changes.credentials && apPassword.toUcs4().size() < kMinApPasswordLength;
}
