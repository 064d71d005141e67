// The panel model's callbacks and the three ways a change reaches "preferences.json":
// save() after an in-memory change, a write that commits only once it is written, and
// saveAutomaticPreferences(), which also re-applies the connection automation.

#include <algorithm>

#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/ControllerDetail.h"

namespace dorvane {

using controller::panelInset;
using controller::titled;

namespace {

bool hasPreset(const Preferences& preferences, const std::string& id) {
    return std::any_of(preferences.customPresets.begin(), preferences.customPresets.end(),
                       [&](const CustomPreset& p) { return p.id == id; });
}

}  // namespace

// ---- Saving ----

void AppController::save() {
    try {
        preferencesStore_.save(preferences_);
    } catch (const std::exception& error) {
        // The change stays in effect; only the file is behind.
        status_ = titled("设置保存失败", error.what());
    }
    renderMenu();
}

std::optional<std::string> AppController::commitWrite(Preferences copy) {
    try {
        preferencesStore_.save(copy);
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
    preferences_ = std::move(copy);
    return std::nullopt;
}

void AppController::showFailure(const std::string& title, const std::string& detail) {
    status_ = titled(title, detail);
    renderMenu();
}

bool AppController::commitEdit(Preferences copy, const std::string& failureTitle) {
    if (const auto failure = commitWrite(std::move(copy))) {
        showFailure(failureTitle, *failure);
        return false;
    }
    floatingSwitcher_->configure(preferences_);
    renderMenu();
    return true;
}

void AppController::saveAutomaticPreferences(Preferences next) {
    try {
        preferencesStore_.save(next);
    } catch (const std::exception& error) {
        // Nothing is committed or applied again, and the status stays as it was.
        showNotice("设置保存失败", std::string(error.what()), std::nullopt);
        return;
    }
    const Preferences& old = preferences_;
    const bool oldAutomatic = old.autoResolutionEnabled && old.hasAutomaticDefault();
    const bool newAutomatic = next.autoResolutionEnabled && next.hasAutomaticDefault();
    const bool oldMonitoring = old.needsRemoteConnectionMonitoring();
    const bool newMonitoring = next.needsRemoteConnectionMonitoring();
    const bool connectedContext = toolbarPresence_.context == ToolbarPresence::Context::connected;
    const bool oldToolbar = connectedContext ? old.toolbarWhenConnected : old.toolbarWhenDisconnected;
    const bool newToolbar = connectedContext ? next.toolbarWhenConnected : next.toolbarWhenDisconnected;

    preferences_ = std::move(next);
    connectionToolbarPolicy_.setEnabled(preferences_.toolbarWhenConnected);
    if (oldToolbar != newToolbar) {
        // The setting now decides at once; a pending expansion would undo it.
        if (connectionToolbarPolicy_.enabled && connectionToolbarPolicy_.connected) {
            connectionToolbarPolicy_.pending = false;
        }
        applyToolbarSetting();
    }
    if (oldAutomatic != newAutomatic) {
        automaticPolicy_ = AutomaticResolutionPolicy{};
        if (newAutomatic) automaticPolicy_.setEnabled(true);
        if (remoteStability_.isConnected) automaticPolicy_.connectionChanged(true);
    }
    automaticPolicy_.setEnabled(newAutomatic);
    automaticPolicy_.restoreOnDisconnect = preferences_.autoRestoreOnDisconnect;
    connectionDockPolicy_.setEnabled(preferences_.autoShowDockOnConnect);
    if (!preferences_.autoShowDockOnConnect) {
        connectionDockTask_.reset();
        connectionDockSender_->releaseAll();
    }
    if (!preferences_.autoResolutionEnabled) automaticRestorePoint_.reset();
    if (oldMonitoring != newMonitoring) startRemoteMonitor();
    renderMenu();
    runAutomaticResolutionIfNeeded();
}

void AppController::permissionStep(std::function<void()> followUp) {
    permissions_->refresh();
    if (permissions_->accessibilityGranted()) {
        followUp();
        return;
    }
    permissions_->setCompletion(weakly(std::move(followUp)));
    permissions_->showGuide();
}

// ---- The launcher beside the toolbar ----

void AppController::showApplications() {
    if (appLauncher_->panelVisible()) {
        dismissToolPanels();  // the button toggles the launcher
        return;
    }
    const auto screen = floatingSwitcher_->actionScreen();
    if (!screen) return;
    dismissToolPanels();
    settingsWindows_->orderSettingsOut();
    appLauncher_->show(floatingSwitcher_->panelFrame().insetBy(panelInset, panelInset), *screen,
                       preferences_.toolbarSide);
    floatingSwitcher_->orderWindowPanelOut();
    floatingSwitcher_->hideApplicationShortcuts();
    floatingSwitcher_->setActivePanel(FloatingAction::runningApplications);
    refreshToolbarSurfaces();
}

// ---- The panel model's callbacks ----

void AppController::installPanelCallbacks() {
    auto& model = panelModel_;
    // Callbacks answering a Boolean answer false once the controller is gone.
    const auto alive = lifetime_.watch();

    // Settings that only need saving.
    model.onShortcutToggle = weakly([this](const std::string& id, bool enabled) {
        const auto shortcut = std::find_if(preferences_.namedShortcuts.begin(), preferences_.namedShortcuts.end(),
                                           [&](const NamedShortcut& s) { return s.id == id; });
        if (shortcut == preferences_.namedShortcuts.end()) return;
        shortcut->enabled = enabled;
        save();
        floatingSwitcher_->configure(preferences_);
    });
    model.onFloatingActionToggle = weakly([this](FloatingAction action, bool on) {
        auto& actions = preferences_.floatingActions;
        if (on) {
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) actions.push_back(action);
        } else {
            actions.erase(std::remove(actions.begin(), actions.end(), action), actions.end());
        }
        save();
        floatingSwitcher_->configure(preferences_);
    });
    model.onToolbarSide = weakly([this](ToolbarSide side) {
        dismissToolPanels();
        preferences_.toolbarSide = side;
        floatingSwitcher_->configure(preferences_);
        save();
    });
    model.onFloatingToggle = weakly([this](bool on) { onFloatingToggle(on); });
    model.onWindowControlsToggle = weakly([this](bool on) {
        preferences_.showWindowControls = on;
        save();
        if (panelModel_.preferences() != preferences_) panelModel_.setPreferences(preferences_);
        floatingSwitcher_->configure(preferences_);
    });
    model.onUUTouchScrollToggle = weakly([this](bool on) {
        const bool monitoring = preferences_.needsRemoteConnectionMonitoring();
        preferences_.uuTouchScrollEnabled = on;
        save();
        if (preferences_.needsRemoteConnectionMonitoring() != monitoring) startRemoteMonitor();
        if (on && !services_.trust.isProcessTrusted()) permissionStep([this] { startTouchScroll(); });
        startTouchScroll();
    });
    model.onSaveCustom = weakly([this](const CustomPreset& preset) {
        try {
            preset.validate();
        } catch (const std::exception&) {
            return;  // the editor has already told the user
        }
        auto& presets = preferences_.customPresets;
        const auto existing =
            std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == preset.id; });
        if (existing == presets.end()) {
            presets.push_back(preset);
        } else {
            *existing = preset;
        }
        copySaved_ = false;
        if (preferences_.selectedCustomID == preset.id) {
            preferences_.size = DisplaySize::standard;
            adjustment_ = preset.adjustment();
        }
        save();
    });
    model.onDeleteCustom = weakly([this](const std::string& id) {
        auto& presets = preferences_.customPresets;
        presets.erase(std::remove_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == id; }),
                      presets.end());
        if (preferences_.autoResolutionPresetID == id) {
            // The setting stays on; there is only nothing left to apply.
            preferences_.autoResolutionPresetID.reset();
            automaticPolicy_.setEnabled(false);
            startRemoteMonitor();
            automaticRestorePoint_.reset();
        }
        if (preferences_.selectedCustomID == id) {
            preferences_.selectedCustomID.reset();
            adjustment_ = ResolutionAdjustment(preferences_.dimensions(), 100);
        }
        save();
    });

    // Settings written only when the file takes them.
    model.onSaveApplicationShortcuts = [this, alive](const std::vector<ApplicationShortcuts>& shortcuts, bool enabled) {
        if (!alive) return false;
        Preferences next = preferences_;
        next.applicationShortcuts = shortcuts;
        next.applicationShortcutsEnabled = enabled;
        if (const auto failure = commitWrite(std::move(next))) {
            services_.operations.append("application-shortcut-save write-failed error=" + *failure);
            showFailure("保存失败", *failure);
            return false;
        }
        panelModel_.setPreferences(preferences_);
        floatingSwitcher_->configure(preferences_);
        renderMenu();
        return true;
    };
    model.onSaveShortcut = [this, alive](const NamedShortcut& shortcut) {
        if (!alive || !shortcut.isValid()) return false;
        Preferences next = preferences_;
        const auto existing = std::find_if(next.namedShortcuts.begin(), next.namedShortcuts.end(),
                                           [&](const NamedShortcut& s) { return s.id == shortcut.id; });
        if (existing != next.namedShortcuts.end()) {
            *existing = shortcut;
        } else {
            // The order is made explicit first, so the new shortcut lands at its end.
            next.operationOrder.clear();
            for (const auto& operation : preferences_.orderedOperations()) next.operationOrder.push_back(operation.id());
            next.namedShortcuts.push_back(shortcut);
            next.operationOrder.push_back(ConfiguredOperation::shortcutID(shortcut.id));
        }
        if (const auto failure = commitWrite(std::move(next))) {
            // Only the title and the detail: what is applied stays shown.
            status_.title = "保存失败";
            status_.detail = failure;
            renderMenu();
            return false;
        }
        floatingSwitcher_->configure(preferences_);
        renderMenu();
        return true;
    };
    model.onDeleteShortcut = [this, alive](const std::string& id) {
        if (!alive) return false;
        Preferences next = preferences_;
        auto& shortcuts = next.namedShortcuts;
        shortcuts.erase(std::remove_if(shortcuts.begin(), shortcuts.end(),
                                       [&](const NamedShortcut& s) { return s.id == id; }),
                        shortcuts.end());
        auto& order = next.operationOrder;
        order.erase(std::remove(order.begin(), order.end(), ConfiguredOperation::shortcutID(id)), order.end());
        return commitEdit(std::move(next), "删除失败");
    };
    model.onFloatingActionIcon = [this, alive](FloatingAction action, ShortcutIcon icon) {
        if (!alive) return false;
        Preferences next = preferences_;
        next.floatingActionIcons[std::string(rawValue(action))] = std::string(rawValue(icon));
        return commitEdit(std::move(next), "保存失败");
    };
    model.onMoveOperations = weakly([this](const std::vector<std::int64_t>& offsets, std::int64_t destination) {
        Preferences next = preferences_;
        next.moveOperations(offsets, destination);
        if (next.operationOrder == preferences_.operationOrder) return;
        commitEdit(std::move(next), "排序保存失败");
    });
    model.onTheme = weakly([this](AppTheme theme) {
        if (theme == preferences_.theme) return;
        Preferences next = preferences_;
        next.theme = theme;
        if (const auto failure = commitWrite(std::move(next))) {
            showFailure("主题保存失败", *failure);
            return;
        }
        applyTheme();
        renderMenu();
    });

    // The connection automation.
    auto automation = [this](auto change) {
        return weakly([this, change](auto value) {
            Preferences next = preferences_;
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
    model.onAutoFillWindowsToggle = weakly([this](bool on) {
        if (on && !services_.trust.isProcessTrusted()) permissionStep([this] { renderMenu(); });
        Preferences next = preferences_;
        next.autoFillWindowsOnRemote = on;
        saveAutomaticPreferences(std::move(next));
    });

    // The resolution.
    model.onCustom = weakly([this](const std::string& id) { selectCustom(id); });
    model.onPreset = weakly([this](ScreenPreset preset) { selectPreset(preset); });
    model.onSize = weakly([this](DisplaySize size) { selectSize(size); });
    model.onScale = weakly([this](std::int64_t percent) { changeScale(percent); });
    model.onPresetScale = weakly([this](const std::string& id, std::int64_t percent) { changePresetScale(id, percent); });
    model.onAdjust = weakly([this](ResolutionAdjustment::Control control, std::int64_t direction) {
        adjust(control, direction);
    });
    model.onSaveCopy = weakly([this] { saveCopy(); });
    model.onApply = weakly([this] { applyManually(true); });
    model.onRecover = weakly([this] { recover(); });

    // The rest.
    model.onQuit = weakly([this] { quit(); });
    model.onDetails = weakly([this] { showDetails(); });
    model.onSettings = weakly([this] { showSettings(false, SettingsPage::resolution); });
    model.onNewCustom = weakly([this] { showSettings(true, std::nullopt); });
}

}  // namespace dorvane
