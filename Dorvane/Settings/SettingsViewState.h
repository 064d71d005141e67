#pragma once

#include <map>
#include <optional>
#include <string>

#include "DorvaneCore/SettingsWindow/DeletionTarget.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"
#include "DorvaneCore/SettingsWindow/SpecDraft.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// The built-in toolbar action whose icon sheet is open; the sheet is keyed by the
// action's raw value.
struct BuiltinIconDraft {
    FloatingAction action;
    friend bool operator==(const BuiltinIconDraft&, const BuiltinIconDraft&) = default;
};

// The last measured size of an operation card, in points.
struct OperationCardSize {
    double width = 0;
    double height = 0;
    friend bool operator==(const OperationCardSize&, const OperationCardSize&) = default;
};

// Everything the settings window remembers beyond the panel model, for as long as its
// view lives: the page, and what each sheet and the deletion alert present (none closes
// them). Not stored anywhere.
struct SettingsViewState {
    SettingsPage page = SettingsPage::general;
    std::optional<SpecDraft> draft;                        // the custom-preset editor
    std::optional<NamedShortcut> editingShortcut;          // the shortcut editor
    std::optional<BuiltinIconDraft> editingBuiltinIcon;    // the icon sheet of a built-in action
    bool builtinIconSaveError = false;                     // the icon sheet's failure line
    bool showingPresetSheet = false;                       // the recommended-shortcut sheet
    bool showingDeviceTemplates = false;                   // the device-template sheet
    std::optional<DeletionTarget> pendingDeletion;         // the deletion alert
    std::optional<std::string> draggedOperationID;         // the operation card being dragged
    std::map<std::string, OperationCardSize> operationCardSizes;  // by operation id
};

}  // namespace dorvane
