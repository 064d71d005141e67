#include "Dorvane/Shell/Controller/ToolbarPresenceKeeper.h"

#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::shell {

namespace {

// The presence timer fires just after its deadline, so the tick finds it passed.
constexpr double kPresenceTickMargin = 0.05;

}  // namespace

ToolbarPresenceKeeper::ToolbarPresenceKeeper(const StatusKeeper& status, const PreferencesKeeper& preferences,
                                             ControllerHost& host, ToolbarControl& toolbar,
                                             dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                                             OperationDiagnostics& operations)
    : status_(status),
      preferences_(preferences),
      host_(host),
      toolbar_(toolbar),
      mainQueue_(mainQueue),
      clock_(clock),
      operations_(operations) {}

ToolbarPresenceKeeper::~ToolbarPresenceKeeper() {
    lifetime_.end();
    timer_.cancel();
}

void ToolbarPresenceKeeper::show(bool on) {
    if (on) {
        toolbar_.setEnabled(true);
        if (!toolbar_.expanded()) toolbar_.toggleList();
    } else {
        toolbar_.setEnabled(false);
    }
}

void ToolbarPresenceKeeper::applyToolbarSetting() {
    if (status_.terminating()) return;
    show(ToolbarPresence::shows(presence_.context, preferences_.preferences()));
    host_.renderMenu();
}

void ToolbarPresenceKeeper::onFloatingToggle(bool on) {
    if (status_.terminating()) return;
    show(on);
    host_.renderMenu();
}

void ToolbarPresenceKeeper::monitorRestarted() {
    if (const auto context = presence_.remoteChanged(false, clock_.uptime())) enterContext(*context);
    scheduleTick();
    policy_.setEnabled(preferences_.preferences().toolbarWhenConnected);
}

void ToolbarPresenceKeeper::remoteChanged(bool connected) {
    if (const auto context = presence_.remoteChanged(connected, clock_.uptime())) enterContext(*context);
    scheduleTick();
}

void ToolbarPresenceKeeper::sessionGoesOn() {
    if (!presence_.disconnectDeadline) return;
    presence_.remoteChanged(true, clock_.uptime());
    scheduleTick();
}

void ToolbarPresenceKeeper::runPendingExpansion(bool dockBusy) {
    if (status_.terminating() || !connectedContext()) return;
    if (!policy_.takeAction(status_.applying() || dockBusy)) return;
    operations_.append("toolbar-auto-expand resolutionReady=true");
    show(true);
    host_.renderMenu();
}

void ToolbarPresenceKeeper::settingsChanged(bool decidesNow) {
    policy_.setEnabled(preferences_.preferences().toolbarWhenConnected);
    if (!decidesNow) return;
    // The setting now decides at once; a pending expansion would undo it.
    if (policy_.enabled && policy_.connected) policy_.pending = false;
    applyToolbarSetting();
}

void ToolbarPresenceKeeper::stop() { timer_.cancel(); }

void ToolbarPresenceKeeper::enterContext(ToolbarPresence::Context context) {
    const bool connected = context == ToolbarPresence::Context::connected;
    policy_.connectionChanged(connected);
    if (connected && preferences_.preferences().toolbarWhenConnected) {
        // Shown once the automatic apply is done, by the pending expansion.
        host_.renderMenu();
        return;
    }
    applyToolbarSetting();
}

void ToolbarPresenceKeeper::scheduleTick() {
    timer_.cancel();
    if (status_.terminating()) return;
    const auto delay = presence_.delayUntilTick(clock_.uptime());
    if (!delay) return;
    timer_ = dispatch::Timer::once(mainQueue_, *delay + kPresenceTickMargin, weakly(host_, lifetime_, [this] {
        if (const auto context = presence_.tick(clock_.uptime())) enterContext(*context);
        scheduleTick();
    }));
}

}  // namespace dorvane::shell
