#include "Dorvane/Shell/SecondStart.h"

#include <cstdlib>
#include <exception>
#include <optional>

#include "Dorvane/Shell/LoginLaunch.h"
#include "Dorvane/Shell/ReopenRequests.h"
#include "Dorvane/ShellBase/ModeHost.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/System/LoginItems.h"

namespace dorvane {

namespace {

bool startedAtLogin(const std::string& executable, const dispatch::Clock& clock) {
    const char* marker = std::getenv(system::XdgAutostartLoginItems::launchedVariable);
    const auto launchVariable = marker != nullptr && *marker != '\0' ? std::optional<std::string>(marker) : std::nullopt;
    auto loginItems = system::XdgAutostartLoginItems::fromEnvironment(executable);
    return launchedAsLoginItem(launchVariable, loginItems.status(), clock.uptime());
}

}  // namespace

int runSecondStart(const std::filesystem::path& root, const std::string& executable) {
    dispatch::SystemClock clock;
    if (startedAtLogin(executable, clock)) return 0;
    try {
        auto host = openModeHost(processes::ProcessRole::application, clock);
        ReopenRequests(host->distributedNotifications(), root).send();
    } catch (const std::exception&) {
        // The request is a courtesy; a host that cannot be used is the running instance's to report.
    }
    return 0;
}

}  // namespace dorvane
