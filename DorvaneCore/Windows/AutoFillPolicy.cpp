#include "DorvaneCore/Windows/AutoFillPolicy.h"

#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "DorvaneCore/Windows/FillToggle.h"

namespace dorvane::windows::AutoFillPolicy {

Decision decide(const Window& window, const Rect& area) {
    if (window.ownApplication) return Decision::skip(Reason::ownApplication);
    if (window.role != "AXWindow" || window.subrole != "AXStandardWindow") {
        return Decision::skip(Reason::notStandardWindow);
    }
    if (window.modal) return Decision::skip(Reason::modal);
    if (window.layer != 0) return Decision::skip(Reason::floatingLayer);
    if (window.minimized) return Decision::skip(Reason::minimized);
    if (window.fullScreen) return Decision::skip(Reason::fullScreen);
    if (!window.resizable) return Decision::skip(Reason::notResizable);
    if (!window.frame) return Decision::skip(Reason::noFrame);
    if (!ApplicationTargetPolicy::isUsableWindow(*window.frame)) return Decision::skip(Reason::tooSmall);
    if (FillToggle::isFilled(*window.frame, area, FillToggle::tolerance)) {
        return Decision::skip(Reason::alreadyFilled);
    }
    return Decision::fill();
}

bool shouldFill(const Window& window, const Rect& area) { return decide(window, area).isFill(); }

}  // namespace dorvane::windows::AutoFillPolicy
