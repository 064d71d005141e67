#pragma once

#include <optional>

namespace dorvane {

struct Preferences;

// When to apply the automatic resolution and when to put the physical displays back.
struct AutomaticResolutionPolicy {
    enum class Action { apply, restore };

    bool enabled = false;
    bool connected = false;
    bool ownsResolution = false;
    bool restoreOnDisconnect = true;
    bool pendingApply = false;
    bool pendingRestore = false;

    void setEnabled(bool value);
    void connectionChanged(bool value);
    // A restore goes before an apply; while busy, everything waits for the next pass.
    std::optional<Action> nextAction(bool busy);
    void applied(bool success);
    void restored(bool success);
    void manualAdjustment();
    void manualOverride();
};

// Lets the toolbar expand once per connection.
struct ConnectionToolbarPolicy {
    bool connected = false;
    bool enabled = false;
    bool pending = false;

    void setEnabled(bool value);
    void connectionChanged(bool value);
    bool takeAction(bool busy);
};

// Lets the Dock shortcut be sent once per connection, even if the setting is toggled meanwhile.
struct ConnectionDockPolicy {
    bool connected = false;
    bool enabled = false;
    bool pending = false;
    bool handled = false;

    void setEnabled(bool value);
    void connectionChanged(bool value);
    bool takeAction(bool busy);
};

// Which toolbar setting governs: the connected one, or after a 5 s grace the disconnected one.
struct ToolbarPresence {
    enum class Context { disconnected, connected };

    static constexpr double disconnectGrace = 5.0;

    Context context = Context::disconnected;
    std::optional<double> disconnectDeadline;

    static bool shows(Context context, bool toolbarWhenConnected, bool toolbarWhenDisconnected) {
        return context == Context::connected ? toolbarWhenConnected : toolbarWhenDisconnected;
    }
    // The same with the two toolbar settings of `preferences`.
    static bool shows(Context context, const Preferences& preferences);

    std::optional<Context> remoteChanged(bool connected, double now);
    std::optional<Context> tick(double now);
    std::optional<double> delayUntilTick(double now) const;
};

}  // namespace dorvane
