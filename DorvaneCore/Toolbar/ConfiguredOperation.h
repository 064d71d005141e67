#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// One configurable toolbar operation: a named shortcut or a built-in action,
// behind a stable id so the user's order can be stored as a list of ids and
// survive shortcuts being edited or deleted. Not stored as such.
class ConfiguredOperation {
public:
    explicit ConfiguredOperation(NamedShortcut shortcut) : value_(std::move(shortcut)) {}
    explicit ConfiguredOperation(FloatingAction action) : value_(action) {}

    friend bool operator==(const ConfiguredOperation&, const ConfiguredOperation&) = default;

    // "shortcut:" + the shortcut's id, or "builtin:" + the action's raw value.
    std::string id() const;

    static std::string shortcutID(std::string_view namedShortcutID);
    static std::string builtinID(FloatingAction action);

    // The shortcut, or null for a built-in action.
    const NamedShortcut* shortcut() const { return std::get_if<NamedShortcut>(&value_); }
    // The action, or nullopt for a shortcut.
    std::optional<FloatingAction> builtin() const;

private:
    std::variant<NamedShortcut, FloatingAction> value_;
};

}  // namespace dorvane
