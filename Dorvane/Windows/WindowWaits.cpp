#include "Dorvane/Windows/WindowWaits.h"

#include "DorvaneCore/Core/FitError.h"

namespace dorvane::windows::WindowLayout {

namespace {

template <typename Wait>
dispatch::Task<Rect> poll(Wait wait, const dispatch::Clock& clock, FrameRead read, dispatch::CancellationToken token,
                          const char* timeoutMessage) {
    while (true) {
        token.throwIfCancelled();
        const Rect frame = read();
        switch (wait.step(clock.uptime(), frame)) {
            case WaitStep::reached: co_return frame;
            case WaitStep::giveUp: throw FitError::message(timeoutMessage);
            case WaitStep::wait: break;
        }
        co_await dispatch::sleepFor(pollInterval, token);
    }
}

}  // namespace

dispatch::Task<Rect> waitForFrame(Rect target, bool allowsSizeRounding, const dispatch::Clock& clock, FrameRead read,
                                  dispatch::CancellationToken token) {
    // The deadline counts from the moment the wait starts, not from when it was created.
    FrameWait wait(target, allowsSizeRounding, clock.uptime());
    co_return co_await poll(wait, clock, std::move(read), std::move(token), frameTimeoutMessage);
}

dispatch::Task<Rect> waitForNativeZoom(Rect start, const dispatch::Clock& clock, FrameRead read,
                                       dispatch::CancellationToken token) {
    NativeZoomWait wait(start, clock.uptime());
    co_return co_await poll(wait, clock, std::move(read), std::move(token), nativeZoomTimeoutMessage);
}

}  // namespace dorvane::windows::WindowLayout
