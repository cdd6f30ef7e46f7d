// The visible networks as macOS reports them: whether AirPort is powered,
// from networksetup, then the networks from the system profiler's XML.
#pragma once

#include "provisioning/wifi_scanner.h"

class MacWifiScanner : public WifiScanner
{
public:
    WifiScan scan() override;
};
