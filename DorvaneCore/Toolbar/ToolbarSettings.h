#pragma once

#include <map>
#include <string>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// The few settings the toolbar's rules read, taken from the user's settings
// record by its owner, so that the rules need not know the whole record.
struct ToolbarSettings {
    ToolbarSide side = ToolbarSide::right;
    bool showWindowControls = true;
    // The operations the strip shows, in the user's order.
    std::vector<ConfiguredOperation> operations;
    // The built-in actions the user put on the toolbar.
    std::vector<FloatingAction> floatingActions;
    // FloatingAction raw value -> ShortcutIcon raw value.
    std::map<std::string, std::string> floatingActionIcons;
    bool applicationShortcutsEnabled = false;
    std::vector<ApplicationShortcuts> applicationShortcuts;

    friend bool operator==(const ToolbarSettings&, const ToolbarSettings&) = default;
};

}  // namespace dorvane
