#include "DorvaneCore/Toolbar/ToolbarLog.h"

namespace dorvane {

namespace {

std::string named(std::string_view identifier) { return std::string(identifier.empty() ? "handle" : identifier); }

std::string pid(std::optional<std::int32_t> value) { return std::to_string(value.value_or(0)); }

std::string flag(bool value) { return value ? "true" : "false"; }

// How the log writes a flag that may be unknown.
std::string optionalFlag(std::optional<bool> value) {
    if (!value) return "nil";
    return *value ? "Optional(true)" : "Optional(false)";
}

}  // namespace

std::string ToolbarLog::buttonDown(std::string_view identifier, std::int64_t window, std::int64_t eventWindow,
                                   std::string_view mouseDetails) {
    return "button-down id=" + named(identifier) + " window=" + std::to_string(window) +
           " eventWindow=" + std::to_string(eventWindow) + " " + std::string(mouseDetails);
}

std::string ToolbarLog::buttonUp(std::string_view identifier, std::int64_t eventWindow, bool inside, bool dragged,
                                 std::string_view mouseDetails) {
    return "button-up id=" + named(identifier) + " eventWindow=" + std::to_string(eventWindow) +
           " inside=" + flag(inside) + " dragged=" + flag(dragged) + " " + std::string(mouseDetails);
}

std::string ToolbarLog::buttonAccessibility(std::string_view identifier) {
    return "button-accessibility id=" + named(identifier);
}

std::optional<std::string> ToolbarLog::targetFallback(std::optional<std::int32_t> front,
                                                      std::optional<bool> focusedUsable,
                                                      std::optional<std::int32_t> target) {
    if (!target && !front) return std::nullopt;
    if (front && target == front) return std::nullopt;
    return "target-fallback front=" + pid(front) + " focusedUsable=" + optionalFlag(focusedUsable) +
           " target=" + pid(target);
}

std::string ToolbarLog::applicationShortcutTarget(std::optional<std::int32_t> front,
                                                  std::optional<std::int32_t> previous,
                                                  std::optional<std::int32_t> next) {
    return "application-shortcut-target front=" + pid(front) + " previous=" + pid(previous) + " next=" + pid(next);
}

std::string ToolbarLog::applicationWindowScanFailed(std::string_view error) {
    return "application-window-scan-failed error=" + std::string(error);
}

}  // namespace dorvane
