#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// What one toolbar button shows and how it names itself in the log. Symbols are
// platform symbol names; an empty identifier is the collapsed handle's.
struct ToolbarButtonFace {
    std::string identifier;
    std::string symbol;
    std::string name;         // caption, tool tip and accessibility label
    bool caption = false;     // the name shows under the glyph (strip buttons)
    bool largeIcon = false;   // the collapsed handle and the application button

    friend bool operator==(const ToolbarButtonFace&, const ToolbarButtonFace&) = default;

    // The fixed buttons of the expanded toolbar and the collapsed handle.
    static ToolbarButtonFace grip();
    static ToolbarButtonFace resolution();
    static ToolbarButtonFace settings();
    // Built for the controller but not shown.
    static ToolbarButtonFace restore();
    static ToolbarButtonFace window();
    static ToolbarButtonFace collapse(ToolbarSide side);
    static ToolbarButtonFace handle();
    // The front application's shortcuts; "应用" when the application has no name.
    static ToolbarButtonFace application(const std::optional<std::string>& localizedName);

    // A built-in action's button: the user's icon for it when one is chosen,
    // and the restore form of the fill button while the front window is filled.
    static ToolbarButtonFace action(FloatingAction action, const std::map<std::string, std::string>& icons,
                                    bool frontWindowFilled = false);
    static ToolbarButtonFace shortcut(const NamedShortcut& shortcut);
};

}  // namespace dorvane
