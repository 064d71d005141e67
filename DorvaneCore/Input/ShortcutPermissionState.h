#pragma once

#include <string_view>

namespace dorvane {

// What the program may do with input: drive other applications through Accessibility,
// and post events. Only Accessibility counts as granted.
struct ShortcutPermissionState {
    bool accessibility = false;
    bool eventPosting = false;

    bool granted() const { return accessibility; }
    std::string_view title() const { return accessibility ? "已授权" : "未授权"; }

    friend bool operator==(const ShortcutPermissionState&, const ShortcutPermissionState&) = default;
};

}  // namespace dorvane
