#include "Dorvane/Shell/Controller/PreferencesKeeper.h"

#include <algorithm>

#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/Controller/ToolbarPresenceKeeper.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"

namespace dorvane::shell {

namespace {

bool hasPreset(const Preferences& preferences, const std::string& id) {
    return std::any_of(preferences.customPresets.begin(), preferences.customPresets.end(),
                       [&](const CustomPreset& p) { return p.id == id; });
}

}  // namespace

PreferencesKeeper::PreferencesKeeper(ControllerState& state, ControllerHost& host, const std::filesystem::path& root,
                                     dispatch::Clock& clock)
    : state_(state), host_(host), store_(root, [&clock] { return clock.wallTime(); }) {}

PreferencesKeeper::~PreferencesKeeper() { lifetime_.end(); }

void PreferencesKeeper::load() {
    state_.preferences = store_.load();
    state_.adjustment = state_.preferences.resolutionAdjustment();
}

// ---- Writing ----

std::optional<std::string> PreferencesKeeper::write(Preferences next, WriteRule rule) {
    if (rule == WriteRule::validated) {
        try {
            store_.save(next);
        } catch (const std::exception& error) {
            return std::string(error.what());
        }
        state_.preferences = std::move(next);
        return std::nullopt;
    }
    state_.preferences = std::move(next);
    std::optional<std::string> failure;
    try {
        store_.save(state_.preferences);
    } catch (const std::exception& error) {
        failure = error.what();
        state_.status = titled("设置保存失败", *failure);
    }
    host_.renderMenu();
    return failure;
}

void PreferencesKeeper::showFailure(const std::string& title, const std::string& detail) {
    state_.status = titled(title, detail);
    host_.renderMenu();
}

bool PreferencesKeeper::commitEdit(Preferences next, const std::string& failureTitle) {
    if (const auto failure = write(std::move(next), WriteRule::validated)) {
        showFailure(failureTitle, *failure);
        return false;
    }
    collaborators_->toolbar.configure(state_.preferences);
    host_.renderMenu();
    return true;
}

void PreferencesKeeper::saveAutomaticPreferences(Preferences next) {
    const Preferences old = state_.preferences;
    if (const auto failure = write(next, WriteRule::validated)) {
        // Nothing is committed or applied again, and the status stays as it was.
        host_.showNotice("设置保存失败", failure, std::nullopt);
        return;
    }
    const bool connectedContext = collaborators_->presence.connectedContext();
    const bool oldToolbar = connectedContext ? old.toolbarWhenConnected : old.toolbarWhenDisconnected;
    const bool newToolbar = connectedContext ? next.toolbarWhenConnected : next.toolbarWhenDisconnected;
    collaborators_->presence.settingsChanged(oldToolbar != newToolbar);
    const bool automaticChanged = (old.autoResolutionEnabled && old.hasAutomaticDefault()) !=
                                  (next.autoResolutionEnabled && next.hasAutomaticDefault());
    const bool monitoringChanged = old.needsRemoteConnectionMonitoring() != next.needsRemoteConnectionMonitoring();
    collaborators_->automation.settingsChanged(automaticChanged, monitoringChanged);
    host_.renderMenu();
    collaborators_->automation.runAutomaticResolutionIfNeeded();
}

// ---- The settings window's callbacks ----

void PreferencesKeeper::installCallbacks(ControlPanelModel& model, Collaborators collaborators) {
    collaborators_.emplace(collaborators);
    installToggles(model);
    installPresetEdits(model);
    installShortcutEdits(model);
    installAppearanceEdits(model);
    installAutomationToggles(model);
}

// Settings that take effect as they are chosen.
void PreferencesKeeper::installToggles(ControlPanelModel& model) {
    model.onShortcutToggle = weakly(host_, lifetime_, [this](const std::string& id, bool enabled) {
        auto& shortcuts = state_.preferences.namedShortcuts;
        const auto shortcut =
            std::find_if(shortcuts.begin(), shortcuts.end(), [&](const NamedShortcut& s) { return s.id == id; });
        if (shortcut == shortcuts.end()) return;
        shortcut->enabled = enabled;
        write(state_.preferences, WriteRule::inEffect);
        collaborators_->toolbar.configure(state_.preferences);
    });
    model.onFloatingActionToggle = weakly(host_, lifetime_, [this](FloatingAction action, bool on) {
        auto& actions = state_.preferences.floatingActions;
        if (on) {
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) actions.push_back(action);
        } else {
            actions.erase(std::remove(actions.begin(), actions.end(), action), actions.end());
        }
        write(state_.preferences, WriteRule::inEffect);
        collaborators_->toolbar.configure(state_.preferences);
    });
    model.onToolbarSide = weakly(host_, lifetime_, [this](ToolbarSide side) {
        host_.dismissToolPanels();
        state_.preferences.toolbarSide = side;
        collaborators_->toolbar.configure(state_.preferences);
        write(state_.preferences, WriteRule::inEffect);
    });
    model.onWindowControlsToggle = weakly(host_, lifetime_, [this, &model](bool on) {
        state_.preferences.showWindowControls = on;
        write(state_.preferences, WriteRule::inEffect);
        if (model.preferences() != state_.preferences) model.setPreferences(state_.preferences);
        collaborators_->toolbar.configure(state_.preferences);
    });
    model.onUUTouchScrollToggle = weakly(host_, lifetime_, [this](bool on) {
        const bool monitoring = state_.preferences.needsRemoteConnectionMonitoring();
        state_.preferences.uuTouchScrollEnabled = on;
        write(state_.preferences, WriteRule::inEffect);
        auto& automation = collaborators_->automation;
        if (state_.preferences.needsRemoteConnectionMonitoring() != monitoring) automation.startRemoteMonitor();
        if (on && !collaborators_->trust.isProcessTrusted()) {
            host_.permissionStep([&automation] { automation.startTouchScroll(); });
        }
        automation.startTouchScroll();
    });
}

void PreferencesKeeper::installPresetEdits(ControlPanelModel& model) {
    model.onSaveCustom = weakly(host_, lifetime_, [this](const CustomPreset& preset) {
        try {
            preset.validate();
        } catch (const std::exception&) {
            return;  // the editor has already told the user
        }
        auto& presets = state_.preferences.customPresets;
        const auto existing =
            std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == preset.id; });
        if (existing == presets.end()) {
            presets.push_back(preset);
        } else {
            *existing = preset;
        }
        state_.copySaved = false;
        if (state_.preferences.selectedCustomID == preset.id) {
            state_.preferences.size = DisplaySize::standard;
            state_.adjustment = preset.adjustment();
        }
        write(state_.preferences, WriteRule::inEffect);
    });
    model.onDeleteCustom = weakly(host_, lifetime_, [this](const std::string& id) {
        Preferences& preferences = state_.preferences;
        auto& presets = preferences.customPresets;
        presets.erase(std::remove_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == id; }),
                      presets.end());
        if (preferences.autoResolutionPresetID == id) {
            // The setting stays on; there is only nothing left to apply.
            preferences.autoResolutionPresetID.reset();
            collaborators_->automation.automaticPresetRemoved();
        }
        if (preferences.selectedCustomID == id) {
            preferences.selectedCustomID.reset();
            state_.adjustment = ResolutionAdjustment(preferences.dimensions(), 100);
        }
        write(state_.preferences, WriteRule::inEffect);
    });
}

// Settings written only when the file takes them.
void PreferencesKeeper::installShortcutEdits(ControlPanelModel& model) {
    // Callbacks answering a Boolean answer false once the keeper is gone, or when they failed.
    const auto alive = lifetime_.watch();
    model.onSaveApplicationShortcuts = dispatch::guarded(host_.mainQueue(), [this, alive, &model](const std::vector<ApplicationShortcuts>& shortcuts,
                                                             bool enabled) {
        if (!alive) return false;
        Preferences next = state_.preferences;
        next.applicationShortcuts = shortcuts;
        next.applicationShortcutsEnabled = enabled;
        if (const auto failure = write(std::move(next), WriteRule::validated)) {
            collaborators_->operations.append("application-shortcut-save write-failed error=" + *failure);
            showFailure("保存失败", *failure);
            return false;
        }
        model.setPreferences(state_.preferences);
        collaborators_->toolbar.configure(state_.preferences);
        host_.renderMenu();
        return true;
    });
    model.onSaveShortcut = dispatch::guarded(host_.mainQueue(), [this, alive](const NamedShortcut& shortcut) {
        if (!alive || !shortcut.isValid()) return false;
        Preferences next = state_.preferences;
        const auto existing = std::find_if(next.namedShortcuts.begin(), next.namedShortcuts.end(),
                                           [&](const NamedShortcut& s) { return s.id == shortcut.id; });
        if (existing != next.namedShortcuts.end()) {
            *existing = shortcut;
        } else {
            // The order is made explicit first, so the new shortcut lands at its end.
            next.operationOrder.clear();
            for (const auto& operation : state_.preferences.orderedOperations()) {
                next.operationOrder.push_back(operation.id());
            }
            next.namedShortcuts.push_back(shortcut);
            next.operationOrder.push_back(ConfiguredOperation::shortcutID(shortcut.id));
        }
        if (const auto failure = write(std::move(next), WriteRule::validated)) {
            // Only the title and the detail: what is applied stays shown.
            state_.status.title = "保存失败";
            state_.status.detail = failure;
            host_.renderMenu();
            return false;
        }
        collaborators_->toolbar.configure(state_.preferences);
        host_.renderMenu();
        return true;
    });
    model.onDeleteShortcut = dispatch::guarded(host_.mainQueue(), [this, alive](const std::string& id) {
        if (!alive) return false;
        Preferences next = state_.preferences;
        auto& shortcuts = next.namedShortcuts;
        shortcuts.erase(std::remove_if(shortcuts.begin(), shortcuts.end(),
                                       [&](const NamedShortcut& s) { return s.id == id; }),
                        shortcuts.end());
        auto& order = next.operationOrder;
        order.erase(std::remove(order.begin(), order.end(), ConfiguredOperation::shortcutID(id)), order.end());
        return commitEdit(std::move(next), "删除失败");
    });
}

// The toolbar's icons and order, and the theme: written only when the file takes them.
void PreferencesKeeper::installAppearanceEdits(ControlPanelModel& model) {
    model.onFloatingActionIcon = dispatch::guarded(host_.mainQueue(), [this, alive = lifetime_.watch()](FloatingAction action, ShortcutIcon icon) {
        if (!alive) return false;
        Preferences next = state_.preferences;
        next.floatingActionIcons[std::string(rawValue(action))] = std::string(rawValue(icon));
        return commitEdit(std::move(next), "保存失败");
    });
    model.onMoveOperations =
        weakly(host_, lifetime_, [this](const std::vector<std::int64_t>& offsets, std::int64_t destination) {
            Preferences next = state_.preferences;
            next.moveOperations(offsets, destination);
            if (next.operationOrder == state_.preferences.operationOrder) return;
            commitEdit(std::move(next), "排序保存失败");
        });
    model.onTheme = weakly(host_, lifetime_, [this](AppTheme theme) {
        if (theme == state_.preferences.theme) return;
        Preferences next = state_.preferences;
        next.theme = theme;
        if (const auto failure = write(std::move(next), WriteRule::validated)) {
            showFailure("主题保存失败", *failure);
            return;
        }
        collaborators_->platform.applyTheme(state_.preferences.theme);
        host_.renderMenu();
    });
}

// The connection automation's settings.
void PreferencesKeeper::installAutomationToggles(ControlPanelModel& model) {
    auto automation = [this](auto change) {
        return weakly(host_, lifetime_, [this, change](auto value) {
            Preferences next = state_.preferences;
            change(next, value);
            saveAutomaticPreferences(std::move(next));
        });
    };
    model.onToolbarWhenConnectedToggle = automation([](Preferences& p, bool on) { p.toolbarWhenConnected = on; });
    model.onToolbarWhenDisconnectedToggle =
        automation([](Preferences& p, bool on) { p.toolbarWhenDisconnected = on; });
    model.onAutoShowDockToggle = automation([](Preferences& p, bool on) { p.autoShowDockOnConnect = on; });
    model.onAutoRestoreToggle = automation([](Preferences& p, bool on) { p.autoRestoreOnDisconnect = on; });
    model.onAutoResolutionToggle = automation([](Preferences& p, bool on) { p.setAutomaticResolutionEnabled(on); });
    model.onAutoResolutionPreset = automation([](Preferences& p, const std::string& id) {
        p.autoResolutionPresetID = hasPreset(p, id) ? std::optional<std::string>(id) : std::nullopt;
    });
    model.onAutoFillWindowsToggle = weakly(host_, lifetime_, [this](bool on) {
        if (on && !collaborators_->trust.isProcessTrusted()) host_.permissionStep([this] { host_.renderMenu(); });
        Preferences next = state_.preferences;
        next.autoFillWindowsOnRemote = on;
        saveAutomaticPreferences(std::move(next));
    });
}

}  // namespace dorvane::shell
