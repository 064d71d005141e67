#include "Dorvane/Shell/Controller/ToolbarPresenceKeeper.h"

namespace dorvane::shell {

namespace {

// The presence timer fires just after its deadline, so the tick finds it passed.
constexpr double kPresenceTickMargin = 0.05;

}  // namespace

ToolbarPresenceKeeper::ToolbarPresenceKeeper(ControllerState& state, ControllerHost& host, ToolbarControl& toolbar,
                                             dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                                             OperationDiagnostics& operations)
    : state_(state), host_(host), toolbar_(toolbar), mainQueue_(mainQueue), clock_(clock), operations_(operations) {}

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
    if (state_.terminating) return;
    show(ToolbarPresence::shows(presence_.context, state_.preferences));
    host_.renderMenu();
}

void ToolbarPresenceKeeper::onFloatingToggle(bool on) {
    if (state_.terminating) return;
    show(on);
    host_.renderMenu();
}

void ToolbarPresenceKeeper::monitorRestarted() {
    if (const auto context = presence_.remoteChanged(false, clock_.uptime())) enterContext(*context);
    scheduleTick();
    policy_.setEnabled(state_.preferences.toolbarWhenConnected);
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
    if (state_.terminating || !connectedContext()) return;
    if (!policy_.takeAction(state_.applying || dockBusy)) return;
    operations_.append("toolbar-auto-expand resolutionReady=true");
    show(true);
    host_.renderMenu();
}

void ToolbarPresenceKeeper::settingsChanged(bool decidesNow) {
    policy_.setEnabled(state_.preferences.toolbarWhenConnected);
    if (!decidesNow) return;
    // The setting now decides at once; a pending expansion would undo it.
    if (policy_.enabled && policy_.connected) policy_.pending = false;
    applyToolbarSetting();
}

void ToolbarPresenceKeeper::stop() { timer_.cancel(); }

void ToolbarPresenceKeeper::enterContext(ToolbarPresence::Context context) {
    const bool connected = context == ToolbarPresence::Context::connected;
    policy_.connectionChanged(connected);
    if (connected && state_.preferences.toolbarWhenConnected) {
        // Shown once the automatic apply is done, by the pending expansion.
        host_.renderMenu();
        return;
    }
    applyToolbarSetting();
}

void ToolbarPresenceKeeper::scheduleTick() {
    timer_.cancel();
    if (state_.terminating) return;
    const auto delay = presence_.delayUntilTick(clock_.uptime());
    if (!delay) return;
    timer_ = dispatch::Timer::once(mainQueue_, *delay + kPresenceTickMargin, weakly(host_, lifetime_, [this] {
        if (const auto context = presence_.tick(clock_.uptime())) enterContext(*context);
        scheduleTick();
    }));
}

}  // namespace dorvane::shell
