#include "DorvaneCore/Windows/SettlingWaits.h"

namespace dorvane::windows::WindowLayout {

WaitStep FrameWait::step(double now, const Rect& frame) const {
    if (reached(frame, target_, allowsSizeRounding_)) return WaitStep::reached;
    return now >= deadline_ ? WaitStep::giveUp : WaitStep::wait;
}

WaitStep NativeZoomWait::step(double now, const Rect& frame) {
    if (approximatelyEqual(frame, start_, settleTolerance)) {
        // Not moved yet, or came back.
        candidate_.reset();
        count_ = 0;
    } else if (candidate_ && approximatelyEqual(frame, *candidate_, settleTolerance)) {
        if (++count_ >= nativeZoomStableCount) return WaitStep::reached;
        candidate_ = frame;
    } else {
        // The first changed read, or still moving.
        candidate_ = frame;
        count_ = 1;
    }
    return now >= deadline_ ? WaitStep::giveUp : WaitStep::wait;
}

}  // namespace dorvane::windows::WindowLayout
