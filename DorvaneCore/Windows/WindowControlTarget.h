#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "DorvaneCore/Windows/WindowControl.h"

namespace dorvane::windows::WindowControlTarget {

// One window of the target application, as the Accessibility worker reads it.
struct Candidate {
    bool focused = false;
    bool main = false;
    bool minimized = false;
    // The frame is known and is a usable window (ApplicationTargetPolicy::isUsableWindow).
    bool usable = false;
    friend bool operator==(const Candidate&, const Candidate&) = default;
};

// How a window command is carried out on the chosen window.
struct Method {
    enum class Kind { press, setMinimized, toggleFullScreen, commandW, unavailable };

    Kind kind = Kind::unavailable;
    // For `press`: the button attribute, "AXCloseButton", "AXMinimizeButton" or "AXZoomButton".
    std::string button;

    static Method press(std::string button) { return {Kind::press, std::move(button)}; }
    static Method of(Kind kind) { return {kind, {}}; }

    // The case name, or press("AXCloseButton") for a press: what the worker logs.
    std::string text() const;

    friend bool operator==(const Method&, const Method&) = default;
};

// The focused, else the main, else any window that is usable and not minimised, each
// pass in list order; none when no window qualifies.
std::optional<std::size_t> select(std::span<const Candidate> candidates);

Method method(WindowControl control, bool hasCloseButton, bool hasMinimizeButton, bool canSetMinimized,
              bool canSetFullScreen, bool hasZoomButton);

}  // namespace dorvane::windows::WindowControlTarget
