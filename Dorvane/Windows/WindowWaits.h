#pragma once

#include <functional>

#include "DorvaneCore/Windows/SettlingWaits.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Task.h"

// The two waits that poll a window after a write. Each runs on the executor of the task
// that awaits it (the caller's actor): it reads the frame at once, then every 0.05 s,
// sleeping in between so that the actor is free for other work. The deadline is measured
// on `clock`, which must outlive the wait.
//
// - A cancelled `token` ends the wait with TaskCancelled at its next poll.
// - An exception thrown by `read` ends it at once and reaches the caller unchanged.
namespace dorvane::windows::WindowLayout {

using FrameRead = std::function<Rect()>;

// The frame read last, once it reached `target`; FitError "窗口未完成调整，请重试" at 0.7 s.
dispatch::Task<Rect> waitForFrame(Rect target, bool allowsSizeRounding, const dispatch::Clock& clock, FrameRead read,
                                  dispatch::CancellationToken token = {});

// The settled frame after an application's own zoom started from `start`; FitError
// "窗口未响应缩放操作" at 2.0 s.
dispatch::Task<Rect> waitForNativeZoom(Rect start, const dispatch::Clock& clock, FrameRead read,
                                       dispatch::CancellationToken token = {});

}  // namespace dorvane::windows::WindowLayout
