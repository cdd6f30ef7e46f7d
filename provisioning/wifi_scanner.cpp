#include "provisioning/wifi_scanner.h"

#if defined(Q_OS_MACOS)
#include "provisioning/macos_scanner.h"
#elif defined(Q_OS_LINUX)
#include "provisioning/nm_scanner.h"
#endif

namespace {

WifiScannerFactory &factory()
{
    static WifiScannerFactory f;
    return f;
}

#if !defined(Q_OS_MACOS) && !defined(Q_OS_LINUX)
class NoScanner : public WifiScanner
{
public:
    WifiScan scan() override { return {WifiScan::Outcome::NoService, {}}; }
};
#endif

} // namespace

std::shared_ptr<WifiScanner> makeHostWifiScanner()
{
#if defined(Q_OS_MACOS)
    return std::make_shared<MacWifiScanner>();
#elif defined(Q_OS_LINUX)
    return std::make_shared<NetworkManagerScanner>();
#else
    return std::make_shared<NoScanner>();
#endif
}

std::shared_ptr<WifiScanner> makeWifiScanner()
{
    return factory() ? factory()() : makeHostWifiScanner();
}

void setWifiScannerFactory(WifiScannerFactory f)
{
    factory() = std::move(f);
}
