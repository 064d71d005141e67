#include "Dorvane/Shell/Controller/SettingsEdits.h"

#include <algorithm>

#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"
#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Platform/Accessibility/ProcessTrust.h"

namespace dorvane::shell {

namespace {

bool hasPreset(const Preferences& preferences, const std::string& id) {
    return std::any_of(preferences.customPresets.begin(), preferences.customPresets.end(),
                       [&](const CustomPreset& p) { return p.id == id; });
}

}  // namespace

SettingsEdits::SettingsEdits(Parts parts)
    : model_(parts.model),
      host_(parts.host),
      preferences_(parts.preferences),
      status_(parts.status),
      adjustment_(parts.adjustment),
      automation_(parts.automation),
      toolbar_(parts.toolbar),
      operations_(parts.operations),
      trust_(parts.trust),
      platform_(parts.platform) {
    installToggles();
    installPresetEdits();
    installShortcutEdits();
    installAppearanceEdits();
    installAutomationToggles();
}

SettingsEdits::~SettingsEdits() { lifetime_.end(); }

void SettingsEdits::showFailure(const std::string& title, const std::string& detail) {
    status_.report(titled(title, detail));
    host_.renderMenu();
}

bool SettingsEdits::commitEdit(Preferences next, const std::string& failureTitle) {
    if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
        showFailure(failureTitle, *failure);
        return false;
    }
    toolbar_.configure(preferences_.preferences());
    host_.renderMenu();
    return true;
}

void SettingsEdits::saveAutomaticPreferences(Preferences next) {
    const Preferences before = preferences_.preferences();
    if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
        // Nothing is committed or applied again, and the status stays as it was.
        host_.showNotice("设置保存失败", failure, std::nullopt);
        return;
    }
    automation_.settingsSaved(before);
}

// Settings that take effect as they are chosen.
void SettingsEdits::installToggles() {
    model_.onShortcutToggle = weakly(host_, lifetime_, [this](const std::string& id, bool enabled) {
        Preferences next = preferences_.preferences();
        auto& shortcuts = next.namedShortcuts;
        const auto shortcut =
            std::find_if(shortcuts.begin(), shortcuts.end(), [&](const NamedShortcut& s) { return s.id == id; });
        if (shortcut == shortcuts.end()) return;
        shortcut->enabled = enabled;
        preferences_.write(std::move(next), WriteRule::inEffect);
        toolbar_.configure(preferences_.preferences());
    });
    model_.onFloatingActionToggle = weakly(host_, lifetime_, [this](FloatingAction action, bool on) {
        Preferences next = preferences_.preferences();
        auto& actions = next.floatingActions;
        if (on) {
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) actions.push_back(action);
        } else {
            actions.erase(std::remove(actions.begin(), actions.end(), action), actions.end());
        }
        preferences_.write(std::move(next), WriteRule::inEffect);
        toolbar_.configure(preferences_.preferences());
    });
    model_.onToolbarSide = weakly(host_, lifetime_, [this](ToolbarSide side) {
        host_.dismissToolPanels();
        Preferences next = preferences_.preferences();
        next.toolbarSide = side;
        // The toolbar is rebuilt on the new side before the file is written.
        preferences_.useUnsaved(std::move(next));
        toolbar_.configure(preferences_.preferences());
        preferences_.write(preferences_.preferences(), WriteRule::inEffect);
    });
    model_.onWindowControlsToggle = weakly(host_, lifetime_, [this](bool on) {
        Preferences next = preferences_.preferences();
        next.showWindowControls = on;
        preferences_.write(std::move(next), WriteRule::inEffect);
        const Preferences& preferences = preferences_.preferences();
        if (model_.preferences() != preferences) model_.setPreferences(preferences);
        toolbar_.configure(preferences);
    });
    model_.onUUTouchScrollToggle = weakly(host_, lifetime_, [this](bool on) {
        Preferences next = preferences_.preferences();
        const bool monitoredBefore = next.needsRemoteConnectionMonitoring();
        next.uuTouchScrollEnabled = on;
        preferences_.write(std::move(next), WriteRule::inEffect);
        automation_.touchScrollSettingChanged(monitoredBefore);
    });
}

void SettingsEdits::installPresetEdits() {
    model_.onSaveCustom = weakly(host_, lifetime_, [this](const CustomPreset& preset) {
        try {
            preset.validate();
        } catch (const std::exception&) {
            return;  // the editor has already told the user
        }
        Preferences next = preferences_.preferences();
        auto& presets = next.customPresets;
        const auto existing =
            std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == preset.id; });
        if (existing == presets.end()) {
            presets.push_back(preset);
        } else {
            *existing = preset;
        }
        if (next.selectedCustomID == preset.id) {
            next.size = DisplaySize::standard;
            adjustment_.select(preset.adjustment());
        } else {
            adjustment_.forgetCopy();
        }
        preferences_.write(std::move(next), WriteRule::inEffect);
    });
    model_.onDeleteCustom = weakly(host_, lifetime_, [this](const std::string& id) {
        Preferences next = preferences_.preferences();
        auto& presets = next.customPresets;
        presets.erase(std::remove_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == id; }),
                      presets.end());
        if (next.autoResolutionPresetID == id) {
            // The setting stays on; there is only nothing left to apply. The automation
            // follows the settings without the preset.
            next.autoResolutionPresetID.reset();
            preferences_.useUnsaved(next);
            automation_.automaticPresetRemoved();
        }
        if (next.selectedCustomID == id) {
            next.selectedCustomID.reset();
            adjustment_.follow(ResolutionAdjustment(next.dimensions(), 100));
        }
        preferences_.write(std::move(next), WriteRule::inEffect);
    });
}

// Settings written only when the file takes them.
void SettingsEdits::installShortcutEdits() {
    // Callbacks answering a Boolean answer false once the edits are gone, or when they failed.
    const auto alive = lifetime_.watch();
    model_.onSaveApplicationShortcuts = dispatch::guarded(
        host_.mainQueue(), [this, alive](const std::vector<ApplicationShortcuts>& shortcuts, bool enabled) {
            if (!alive) return false;
            Preferences next = preferences_.preferences();
            next.applicationShortcuts = shortcuts;
            next.applicationShortcutsEnabled = enabled;
            if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
                operations_.append("application-shortcut-save write-failed error=" + *failure);
                showFailure("保存失败", *failure);
                return false;
            }
            model_.setPreferences(preferences_.preferences());
            toolbar_.configure(preferences_.preferences());
            host_.renderMenu();
            return true;
        });
    model_.onSaveShortcut = dispatch::guarded(host_.mainQueue(), [this, alive](const NamedShortcut& shortcut) {
        if (!alive || !shortcut.isValid()) return false;
        Preferences next = preferences_.preferences();
        const auto existing = std::find_if(next.namedShortcuts.begin(), next.namedShortcuts.end(),
                                           [&](const NamedShortcut& s) { return s.id == shortcut.id; });
        if (existing != next.namedShortcuts.end()) {
            *existing = shortcut;
        } else {
            // The order is made explicit first, so the new shortcut lands at its end.
            next.operationOrder.clear();
            for (const auto& operation : preferences_.preferences().orderedOperations()) {
                next.operationOrder.push_back(operation.id());
            }
            next.namedShortcuts.push_back(shortcut);
            next.operationOrder.push_back(ConfiguredOperation::shortcutID(shortcut.id));
        }
        if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
            // Only the title and the detail: what is applied stays shown.
            status_.retitle("保存失败", failure);
            host_.renderMenu();
            return false;
        }
        toolbar_.configure(preferences_.preferences());
        host_.renderMenu();
        return true;
    });
    model_.onDeleteShortcut = dispatch::guarded(host_.mainQueue(), [this, alive](const std::string& id) {
        if (!alive) return false;
        Preferences next = preferences_.preferences();
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
void SettingsEdits::installAppearanceEdits() {
    model_.onFloatingActionIcon = dispatch::guarded(
        host_.mainQueue(), [this, alive = lifetime_.watch()](FloatingAction action, ShortcutIcon icon) {
            if (!alive) return false;
            Preferences next = preferences_.preferences();
            next.floatingActionIcons[std::string(rawValue(action))] = std::string(rawValue(icon));
            return commitEdit(std::move(next), "保存失败");
        });
    model_.onMoveOperations =
        weakly(host_, lifetime_, [this](const std::vector<std::int64_t>& offsets, std::int64_t destination) {
            Preferences next = preferences_.preferences();
            next.moveOperations(offsets, destination);
            if (next.operationOrder == preferences_.preferences().operationOrder) return;
            commitEdit(std::move(next), "排序保存失败");
        });
    model_.onTheme = weakly(host_, lifetime_, [this](AppTheme theme) {
        if (theme == preferences_.preferences().theme) return;
        Preferences next = preferences_.preferences();
        next.theme = theme;
        if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
            showFailure("主题保存失败", *failure);
            return;
        }
        platform_.applyTheme(preferences_.preferences().theme);
        host_.renderMenu();
    });
}

// The connection automation's settings.
void SettingsEdits::installAutomationToggles() {
    auto automation = [this](auto change) {
        return weakly(host_, lifetime_, [this, change](auto value) {
            Preferences next = preferences_.preferences();
            change(next, value);
            saveAutomaticPreferences(std::move(next));
        });
    };
    model_.onToolbarWhenConnectedToggle = automation([](Preferences& p, bool on) { p.toolbarWhenConnected = on; });
    model_.onToolbarWhenDisconnectedToggle =
        automation([](Preferences& p, bool on) { p.toolbarWhenDisconnected = on; });
    model_.onAutoShowDockToggle = automation([](Preferences& p, bool on) { p.autoShowDockOnConnect = on; });
    model_.onAutoRestoreToggle = automation([](Preferences& p, bool on) { p.autoRestoreOnDisconnect = on; });
    model_.onAutoResolutionToggle = automation([](Preferences& p, bool on) { p.setAutomaticResolutionEnabled(on); });
    model_.onAutoResolutionPreset = automation([](Preferences& p, const std::string& id) {
        p.autoResolutionPresetID = hasPreset(p, id) ? std::optional<std::string>(id) : std::nullopt;
    });
    model_.onAutoFillWindowsToggle = weakly(host_, lifetime_, [this](bool on) {
        if (on && !trust_.isProcessTrusted()) host_.permissionStep([this] { host_.renderMenu(); });
        Preferences next = preferences_.preferences();
        next.autoFillWindowsOnRemote = on;
        saveAutomaticPreferences(std::move(next));
    });
}

}  // namespace dorvane::shell
