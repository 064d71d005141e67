#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// The toolbar's lines in the operations log. A button without an identifier
// (the collapsed handle) is written as "handle"; a missing process id as 0.
struct ToolbarLog {
    ToolbarLog() = delete;

    static std::string buttonDown(std::string_view identifier, std::int64_t window, std::int64_t eventWindow,
                                  std::string_view mouseDetails);
    static std::string buttonUp(std::string_view identifier, std::int64_t eventWindow, bool inside, bool dragged,
                                std::string_view mouseDetails);
    static std::string buttonAccessibility(std::string_view identifier);

    // The line written when the toolbar's target is not simply the frontmost
    // application; none when nothing is logged (no target and no frontmost
    // application, or the target is the frontmost application).
    static std::optional<std::string> targetFallback(std::optional<std::int32_t> front,
                                                     std::optional<bool> focusedUsable,
                                                     std::optional<std::int32_t> target);

    static std::string applicationShortcutTarget(std::optional<std::int32_t> front,
                                                 std::optional<std::int32_t> previous,
                                                 std::optional<std::int32_t> next);
    // The first of a run of failed scans of the other applications' windows.
    static std::string applicationWindowScanFailed(std::string_view error);
};

}  // namespace dorvane
