#include "DorvaneCore/Toolbar/ConfiguredOperation.h"

namespace dorvane {

std::string ConfiguredOperation::id() const {
    if (const auto* named = shortcut()) return shortcutID(named->id);
    return builtinID(std::get<FloatingAction>(value_));
}

std::string ConfiguredOperation::shortcutID(std::string_view namedShortcutID) {
    return "shortcut:" + std::string(namedShortcutID);
}

std::string ConfiguredOperation::builtinID(FloatingAction action) {
    return "builtin:" + std::string(rawValue(action));
}

std::optional<FloatingAction> ConfiguredOperation::builtin() const {
    if (const auto* action = std::get_if<FloatingAction>(&value_)) return *action;
    return std::nullopt;
}

}  // namespace dorvane
