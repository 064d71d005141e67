#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/CoordinateSpaces.h"

// Whether automatic filling may fill a window: a normal, resizable, visible window of
// another application that does not fill the work area yet.
namespace dorvane::windows::AutoFillPolicy {

// The focused, else the main, window of the frontmost application, as probed.
struct Window {
    std::optional<std::string> role;
    std::optional<std::string> subrole;
    std::optional<Rect> frame;
    bool resizable = false;  // position and size both settable
    bool fullScreen = false;
    bool minimized = false;
    bool modal = false;
    int layer = 0;  // window-server layer
    bool ownApplication = false;
};

// Why a window is skipped; the rules are checked in the order of `decide`, not this one.
enum class Reason {
    ownApplication,
    notStandardWindow,
    modal,
    notResizable,
    fullScreen,
    minimized,
    floatingLayer,
    noFrame,
    tooSmall,
    alreadyFilled,
};

struct Decision {
    std::optional<Reason> skipped;  // none: fill

    static Decision fill() { return {}; }
    static Decision skip(Reason reason) { return {reason}; }
    bool isFill() const { return !skipped; }
    friend bool operator==(const Decision&, const Decision&) = default;
};

// The first failing rule: own application, not a standard window, modal, not on layer 0,
// minimised, full screen, not resizable, no frame, too small, already filled (within
// 6 points of every area edge).
Decision decide(const Window& window, const Rect& area);
bool shouldFill(const Window& window, const Rect& area);

}  // namespace dorvane::windows::AutoFillPolicy

namespace dorvane {

// The case names are what the skip log line carries.
template <>
struct EnumCases<windows::AutoFillPolicy::Reason> {
    using R = windows::AutoFillPolicy::Reason;
    static constexpr std::array<std::pair<R, std::string_view>, 10> table{{
        {R::ownApplication, "ownApplication"},
        {R::notStandardWindow, "notStandardWindow"},
        {R::modal, "modal"},
        {R::notResizable, "notResizable"},
        {R::fullScreen, "fullScreen"},
        {R::minimized, "minimized"},
        {R::floatingLayer, "floatingLayer"},
        {R::noFrame, "noFrame"},
        {R::tooSmall, "tooSmall"},
        {R::alreadyFilled, "alreadyFilled"},
    }};
};

}  // namespace dorvane
