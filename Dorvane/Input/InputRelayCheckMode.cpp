#include "Dorvane/Input/InputRelayCheckMode.h"

#include <limits>
#include <memory>
#include <ostream>

#include "Dorvane/Input/ShortcutEventRelay.h"
#include "Dorvane/ShellBase/ModeHost.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

namespace {

constexpr const char* kOK = "input-relay: delivery and cleanup OK";
constexpr const char* kCleanupFailed = "input-relay: cleanup failed";
constexpr const char* kUnavailable = "input-relay: unavailable";
constexpr double kCleanupPoll = 0.01;
constexpr int kCleanupAttempts = 100;

dispatch::Task<void> check(ShortcutEventRelay& relay, events::Event null, const char*& verdict) {
    relay.post({null});
    relay.finishRequested = true;
    if (relay.packets().empty()) relay.invalidateTap();
    co_await relay.waitUntilDelivered();
    for (int attempt = 0; relay.tap() && attempt < kCleanupAttempts; ++attempt) {
        try {
            co_await dispatch::sleepFor(kCleanupPoll);
        } catch (const dispatch::TaskCancelled&) {
        }
    }
    verdict = relay.tap() ? kCleanupFailed : kOK;
}

}  // namespace

int runInputRelayCheckMode(std::ostream& out) {
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue main;
    std::unique_ptr<host::SimulatedHost> host;
    try {
        host = openModeHost(processes::ProcessRole::inputCheck, clock, &main);
    } catch (const std::exception&) {
        out << kUnavailable << "\n";
        return 1;
    }
    const char* verdict = nullptr;
    {
        ShortcutEventRelay relay({host->events(), main, [](std::string_view line) { OperationDiagnostics::write(line); }});
        relay.prepare();
        const auto null = relay.tap() ? host->events().createEvent(nullptr) : std::nullopt;
        if (!null) {
            verdict = kUnavailable;
        } else {
            // A relay that failed on its way delivered nothing.
            dispatch::spawn(main, check(relay, *null, verdict),
                            [&verdict](std::exception_ptr) { verdict = kUnavailable; });
            main.runUntil([&verdict] { return verdict != nullptr; }, std::numeric_limits<double>::infinity());
        }
    }
    host->hostEvents().flushDelivered();
    OperationDiagnostics::shared().flush();
    out << verdict << "\n";
    return verdict == kOK ? 0 : 1;
}

}  // namespace dorvane
