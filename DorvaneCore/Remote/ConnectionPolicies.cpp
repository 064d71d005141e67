#include "DorvaneCore/Remote/ConnectionPolicies.h"

#include <algorithm>

#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane {

void AutomaticResolutionPolicy::setEnabled(bool value) {
    if (value == enabled) return;
    enabled = value;
    if (value) {
        pendingApply = connected;
    } else {
        pendingApply = false;
        ownsResolution = false;
    }
}

void AutomaticResolutionPolicy::connectionChanged(bool value) {
    if (value == connected) return;
    connected = value;
    pendingApply = value && enabled;
    // Every disconnection asks for a restore when restoring is on, whoever set the resolution.
    pendingRestore = restoreOnDisconnect && !value;
}

std::optional<AutomaticResolutionPolicy::Action> AutomaticResolutionPolicy::nextAction(bool busy) {
    if (busy) return std::nullopt;
    if (pendingRestore && !connected && restoreOnDisconnect) {
        pendingRestore = false;
        return Action::restore;
    }
    if (enabled && pendingApply && connected) {
        pendingApply = false;
        return Action::apply;
    }
    return std::nullopt;
}

void AutomaticResolutionPolicy::applied(bool success) {
    ownsResolution = success && enabled;
    // A connection that ended while the apply ran still gets its restore.
    pendingRestore = restoreOnDisconnect && !connected;
}

void AutomaticResolutionPolicy::restored(bool success) {
    if (success) ownsResolution = false;
}

void AutomaticResolutionPolicy::manualAdjustment() {
    pendingApply = false;
    if (!connected) {
        pendingRestore = false;
        ownsResolution = false;
    }
}

void AutomaticResolutionPolicy::manualOverride() {
    pendingApply = false;
    pendingRestore = false;
    ownsResolution = false;
}

void ConnectionToolbarPolicy::setEnabled(bool value) {
    if (value == enabled) return;
    enabled = value;
    pending = value && connected;
}

void ConnectionToolbarPolicy::connectionChanged(bool value) {
    if (value == connected) return;
    connected = value;
    pending = value && enabled;
}

bool ConnectionToolbarPolicy::takeAction(bool busy) {
    if (!connected || !enabled || !pending || busy) return false;
    pending = false;
    return true;
}

void ConnectionDockPolicy::setEnabled(bool value) {
    if (value == enabled) return;
    enabled = value;
    pending = value && connected && !handled;
}

void ConnectionDockPolicy::connectionChanged(bool value) {
    if (value == connected) return;
    connected = value;
    handled = false;
    pending = value && enabled;
}

bool ConnectionDockPolicy::takeAction(bool busy) {
    if (!pending || busy) return false;
    pending = false;
    handled = true;
    return true;
}

bool ToolbarPresence::shows(Context context, const Preferences& preferences) {
    return shows(context, preferences.toolbarWhenConnected, preferences.toolbarWhenDisconnected);
}

std::optional<ToolbarPresence::Context> ToolbarPresence::remoteChanged(bool connected, double now) {
    if (connected) {
        if (disconnectDeadline) {
            disconnectDeadline.reset();  // the context never left connected
            return std::nullopt;
        }
        if (context == Context::disconnected) {
            context = Context::connected;
            return Context::connected;
        }
        return std::nullopt;
    }
    if (context == Context::connected && !disconnectDeadline) disconnectDeadline = now + disconnectGrace;
    return std::nullopt;
}

std::optional<ToolbarPresence::Context> ToolbarPresence::tick(double now) {
    if (disconnectDeadline && *disconnectDeadline <= now) {
        disconnectDeadline.reset();
        context = Context::disconnected;
        return Context::disconnected;
    }
    return std::nullopt;
}

std::optional<double> ToolbarPresence::delayUntilTick(double now) const {
    if (!disconnectDeadline) return std::nullopt;
    return std::max(*disconnectDeadline - now, 0.0);
}

}  // namespace dorvane
