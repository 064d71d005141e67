#include "DorvaneCore/Windows/WindowControlTarget.h"

namespace dorvane::windows::WindowControlTarget {

std::string Method::text() const {
    switch (kind) {
        case Kind::press: return "press(\"" + button + "\")";
        case Kind::setMinimized: return "setMinimized";
        case Kind::toggleFullScreen: return "toggleFullScreen";
        case Kind::commandW: return "commandW";
        case Kind::unavailable: return "unavailable";
    }
    return {};
}

std::optional<std::size_t> select(std::span<const Candidate> candidates) {
    const auto first = [&](auto&& wanted) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const Candidate& c = candidates[i];
            if (c.usable && !c.minimized && wanted(c)) return i;
        }
        return std::nullopt;
    };
    if (auto focused = first([](const Candidate& c) { return c.focused; })) return focused;
    if (auto main = first([](const Candidate& c) { return c.main; })) return main;
    return first([](const Candidate&) { return true; });
}

Method method(WindowControl control, bool hasCloseButton, bool hasMinimizeButton, bool canSetMinimized,
              bool canSetFullScreen, bool hasZoomButton) {
    using Kind = Method::Kind;
    switch (control) {
        case WindowControl::close:
            return hasCloseButton ? Method::press("AXCloseButton") : Method::of(Kind::commandW);
        case WindowControl::minimize:
            if (hasMinimizeButton) return Method::press("AXMinimizeButton");
            return Method::of(canSetMinimized ? Kind::setMinimized : Kind::unavailable);
        case WindowControl::fullScreen:
            if (canSetFullScreen) return Method::of(Kind::toggleFullScreen);
            return hasZoomButton ? Method::press("AXZoomButton") : Method::of(Kind::unavailable);
    }
    return Method::of(Kind::unavailable);
}

}  // namespace dorvane::windows::WindowControlTarget
