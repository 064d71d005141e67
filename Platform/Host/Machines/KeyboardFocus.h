#pragma once

#include <cstdint>
#include <optional>

#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// Who has the keyboard, as a window system decides it: the key window takes the keys.
// That is a panel made key without its application coming forward while it shows (the
// program's launcher over the user's application), else the frontmost application's
// focused window while it shows. A minimised or hidden window is never key: the keys then
// go to the frontmost application, which has no key window (0).
struct KeyboardFocus {
    std::optional<pid_t> pid;
    std::uint32_t window = 0;

    friend bool operator==(const KeyboardFocus&, const KeyboardFocus&) = default;
};
KeyboardFocus keyboardFocus(const HostData& data);

// The window of `pid` that takes the keys posted to that process; 0 for none.
std::uint32_t keyWindowOf(const HostData& data, pid_t pid);

// Makes `number` the key panel, or (none) lets the frontmost application's key window
// have the keyboard again; the journal tells who has it when that changed.
void setKeyPanel(HostData& data, std::optional<std::uint32_t> number);

// The window stops showing or goes: when it was the key panel, the keyboard goes back to
// the frontmost application.
void keyPanelGone(HostData& data, std::uint32_t number);

}  // namespace dorvane::host
