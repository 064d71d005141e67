#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DorvaneCore/Core/AppTheme.h"
#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Toolbar/ToolbarSettings.h"

namespace dorvane {

// The user's whole settings record, stored as "preferences.json". A default
// value is what a fresh installation starts with.
struct Preferences {
    AppTheme theme = AppTheme::dark;
    ScreenPreset preset = ScreenPreset::phone;  // used while no custom preset is selected
    DisplaySize size = DisplaySize::standard;   // applies to `preset` only
    std::vector<CustomPreset> customPresets = CustomPreset::factorySpecs();
    // FloatingAction raw value -> ShortcutIcon raw value; written with sorted keys.
    std::map<std::string, std::string> floatingActionIcons;
    bool applicationShortcutsEnabled = false;
    std::vector<ApplicationShortcuts> applicationShortcuts;
    std::vector<NamedShortcut> namedShortcuts;
    std::vector<std::string> operationOrder;  // ConfiguredOperation ids in the user's order
    std::vector<FloatingAction> floatingActions{defaultFloatingActions.begin(), defaultFloatingActions.end()};
    ToolbarSide toolbarSide = ToolbarSide::right;
    std::optional<std::string> selectedCustomID;
    bool seededFactorySpecs = true;
    bool autoResolutionEnabled = false;
    std::optional<std::string> autoResolutionPresetID = std::string(CustomPreset::recommendedLandscapeID);
    bool autoShowDockOnConnect = false;
    bool toolbarWhenConnected = true;
    bool toolbarWhenDisconnected = false;
    bool autoFillWindowsOnRemote = false;
    bool autoRestoreOnDisconnect = true;
    bool uuTouchScrollEnabled = false;
    bool showWindowControls = true;
    bool seededMinimizeAction = true;

    friend bool operator==(const Preferences&, const Preferences&) = default;

    // The first custom preset whose id is selectedCustomID.
    std::optional<CustomPreset> selectedCustom() const;

    // The logical size to apply: the selected custom preset at standard size,
    // else the built-in preset at `size`.
    Dimensions dimensions() const;

    // The selected custom preset's adjustment, else the preset's size at 100 %.
    ResolutionAdjustment resolutionAdjustment() const;

    // An automatic preset id that names an existing custom preset.
    bool hasAutomaticDefault() const;

    // Some connection feature is on, so remote sessions must be watched.
    bool needsRemoteConnectionMonitoring() const;

    // Enabling without a usable automatic preset picks the first custom preset
    // (or none); disabling keeps the id.
    void setAutomaticResolutionEnabled(bool enabled);

    struct ToolbarVisibility {
        bool whenConnected = true;
        bool whenDisconnected = false;
        friend bool operator==(const ToolbarVisibility&, const ToolbarVisibility&) = default;
    };
    // The two toolbar settings as files from before they existed meant them:
    // shown when connected unless expanding was switched off; shown when
    // disconnected only when managing it was switched off.
    static ToolbarVisibility migratedToolbarVisibility(std::optional<bool> expandOnConnect,
                                                       std::optional<bool> manageOnDisconnect);

    // The configurable toolbar operations in the user's order, and those of
    // them the toolbar shows.
    std::vector<ConfiguredOperation> orderedOperations() const;
    std::vector<ConfiguredOperation> enabledOperations() const;

    // A drag in the settings window: moves the rows at `offsets` of
    // orderedOperations() before row `destination` and stores the whole
    // resulting order. Out-of-range input leaves operationOrder untouched.
    void moveOperations(std::span<const std::int64_t> offsets, std::int64_t destination);

    // The list the toolbar offers for the application `bundleID`, when the
    // feature is on and a record for it has a usable shortcut.
    std::optional<ApplicationShortcuts> applicationShortcutsFor(const std::optional<std::string>& bundleID) const;

    // What the toolbar's rules read of these settings.
    ToolbarSettings toolbarSettings() const;

    // Compact object, keys in the file's fixed order; the two optional ids are
    // left out when absent.
    json::Json toJson() const;

    // Reads files of every earlier version: tolerant where old or hand-edited
    // files need it (unknown theme, icons, actions and operation ids, invalid
    // custom presets and shortcuts are dropped; retired keys are migrated),
    // strict everywhere else. Throws json::DecodeError; no partial record.
    static Preferences fromJson(const json::Json& value);
};

}  // namespace dorvane
