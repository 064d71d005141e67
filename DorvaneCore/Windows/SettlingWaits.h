#pragma once

#include <optional>

#include "DorvaneCore/Windows/WindowLayout.h"

// The decisions of the two waits that poll a window after a write, fed one read at a
// time: the loops that read, sleep and throw live in Dorvane/Windows/WindowWaits.h.
namespace dorvane::windows::WindowLayout {

inline constexpr const char* frameTimeoutMessage = "窗口未完成调整，请重试";
inline constexpr const char* nativeZoomTimeoutMessage = "窗口未响应缩放操作";

enum class WaitStep { reached, wait, giveUp };

// Waits for a written frame: reached as soon as a read is at the target, gives up at a
// read made at or after the deadline.
class FrameWait {
public:
    FrameWait(const Rect& target, bool allowsSizeRounding, double now)
        : target_(target), allowsSizeRounding_(allowsSizeRounding), deadline_(now + frameDeadline) {}

    WaitStep step(double now, const Rect& frame) const;

private:
    Rect target_;
    bool allowsSizeRounding_;
    double deadline_;
};

// Waits for an application's own zoom to finish animating: reached on the third
// consecutive read of a changed frame that agrees within 2 points with the read before;
// a read back at the start frame starts the count again.
class NativeZoomWait {
public:
    NativeZoomWait(const Rect& start, double now) : start_(start), deadline_(now + nativeZoomDeadline) {}

    WaitStep step(double now, const Rect& frame);

private:
    Rect start_;
    double deadline_;
    std::optional<Rect> candidate_;
    int count_ = 0;
};

}  // namespace dorvane::windows::WindowLayout
