// Maximise as a toggle: the first press fills the screen (through the application's own
// zoom when it reaches the screen, else by writing the frame) and remembers where the
// window was; the next press, while the window still sits where maximise put it, puts it
// back.
#include <algorithm>
#include <array>
#include <string_view>

#include "Dorvane/Windows/WindowControllerWorker.h"
#include "Dorvane/Windows/WindowWaits.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Windows/WindowLayout.h"
#include "DorvaneCore/Windows/WindowLogText.h"
#include "DorvaneCore/Windows/WindowMaximizeSnapshot.h"
#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

using accessibility::AXElement;
using accessibility::AXError;
namespace attribute = accessibility::attribute;
namespace action = accessibility::action;

namespace {

constexpr std::array<std::string_view, 3> kWindowMenuTitles{"Window", "窗口", "視窗"};
constexpr std::array<std::string_view, 3> kZoomItemTitles{"Zoom", "缩放", "縮放"};

bool oneOf(const std::optional<std::string>& title, const std::array<std::string_view, 3>& titles) {
    return title && std::find(titles.begin(), titles.end(), *title) != titles.end();
}

bool sameWindow(pid_t pid, const AXElement& window, pid_t entryPID, const AXElement& entryWindow) {
    return entryPID == pid && entryWindow == window;
}

// The restore entry of one window in the list, or its end.
template <typename Entries>
auto entryOf(Entries& entries, pid_t pid, const AXElement& window) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const auto& entry) { return sameWindow(pid, window, entry.pid, entry.window); });
}

}  // namespace

std::optional<WindowControllerWorker::RestoreEntry> WindowControllerWorker::validRestore(pid_t pid,
                                                                                        const AXElement& window,
                                                                                        const Rect& current) {
    dispatch::assertOn(queue_, "WindowControllerWorker::validRestore");
    const auto found = entryOf(restoreEntries_, pid, window);
    if (found == restoreEntries_.end()) return std::nullopt;
    const RestoreEntry entry = *found;
    if (entry.snapshot().restoration(current)) return entry;
    std::erase_if(restoreEntries_,
                  [&](const RestoreEntry& other) { return sameWindow(pid, window, other.pid, other.window); });
    log("discard stale restore current=" + rectText(current) + " saved=" + rectText(entry.frame) +
        " maximized=" + rectText(entry.maximized));
    return std::nullopt;
}

void WindowControllerWorker::rememberRestore(const AXElement& window, pid_t pid, const Rect& original,
                                             const Rect& applied, bool restoring) {
    dispatch::assertOn(queue_, "WindowControllerWorker::rememberRestore");
    std::erase_if(restoreEntries_,
                  [&](const RestoreEntry& entry) { return sameWindow(pid, window, entry.pid, entry.window); });
    if (restoring) return;
    if (WindowLayout::approximatelyEqual(original, applied, WindowLayout::settleTolerance)) return;
    addRestore(window, pid, original, frameIfReadable(window).value_or(applied));
}

void WindowControllerWorker::addRestore(const AXElement& window, pid_t pid, const Rect& original,
                                        const Rect& maximized) {
    std::erase_if(restoreEntries_,
                  [&](const RestoreEntry& entry) { return sameWindow(pid, window, entry.pid, entry.window); });
    restoreEntries_.push_back(RestoreEntry{pid, window, original, maximized});
    if (restoreEntries_.size() > restoreEntryLimit) restoreEntries_.erase(restoreEntries_.begin());
}

Rect WindowControllerWorker::wayBackFrom(pid_t pid, const AXElement& window, const Rect& current) const {
    const auto found = entryOf(restoreEntries_, pid, window);
    return found == restoreEntries_.end() ? current : found->snapshot().wayBack(current);
}

// A maximise that failed may still have moved the window, or may move it yet: writes the
// application accepted can land after the worker stopped waiting. Either way the next press
// should be able to put it back, to `wayBack`.
void WindowControllerWorker::rememberFailedMaximize(const AXElement& window, pid_t pid, const Rect& original,
                                                   const Rect& wayBack, const Rect& target,
                                                   std::optional<std::uint32_t> serverID, bool sent) {
    std::optional<Rect> moved;
    try {
        moved = currentFrame(window, serverID);
    } catch (const std::exception&) {
    }
    if (moved && !WindowLayout::approximatelyEqual(*moved, original, WindowLayout::settleTolerance)) {
        rememberRestore(window, pid, wayBack, *moved, false);
    } else if (sent && !WindowLayout::approximatelyEqual(wayBack, target, WindowLayout::settleTolerance)) {
        // Not visibly moved yet: remembered as on its way to the target.
        addRestore(window, pid, wayBack, target);
    }
}

// A restore that failed keeps its entry until the window is really back. When it left the
// window part way (its size taken, its position refused), the press that finds it there
// keeps the entry's frame as the way back rather than the half-moved one.
void WindowControllerWorker::rememberFailedRestore(const AXElement& window, pid_t pid, const Rect& started,
                                                  std::optional<std::uint32_t> serverID) {
    const auto found = entryOf(restoreEntries_, pid, window);
    if (found == restoreEntries_.end()) return;
    std::optional<Rect> left;
    try {
        left = currentFrame(window, serverID);
    } catch (const std::exception&) {
    }
    if (!left) return;
    WindowMaximizeSnapshot snapshot = found->snapshot();
    snapshot.restoreFailed(started, *left);
    found->leftPartWay = snapshot.leftPartWay;
}

std::optional<AXElement> WindowControllerWorker::zoomMenuItem(const AXElement& application) const {
    const auto menuBar = reader_.element(application, attribute::menuBar);
    if (!menuBar) return std::nullopt;
    for (const auto& item : reader_.elements(*menuBar, attribute::children)) {
        if (!oneOf(reader_.text(item, attribute::title).value_or(""), kWindowMenuTitles)) continue;
        for (const auto& menu : reader_.elements(item, attribute::children)) {
            for (const auto& entry : reader_.elements(menu, attribute::children)) {
                if (oneOf(reader_.text(entry, attribute::title), kZoomItemTitles)) return entry;
            }
        }
    }
    return std::nullopt;
}

dispatch::Task<std::optional<Rect>> WindowControllerWorker::toggleNativeZoom(AXElement window, AXElement application,
                                                                             workspace::RunningApplication app,
                                                                             std::optional<Rect> original,
                                                                             dispatch::CancellationToken token) {
    if (reader_.isTrue(window, attribute::fullScreen)) throw FitError::message("请先退出全屏");
    std::optional<AXElement> target = zoomMenuItem(application);
    std::string route = "window-menu-zoom";
    if (!target) {
        const auto button = reader_.element(window, attribute::zoomButton);
        if (!button || reader_.text(*button, attribute::subrole) != accessibility::subrole::zoomButton) {
            throw FitError::message("该应用未提供窗口缩放操作");
        }
        target = button;
        route = "native-zoom-button";
    }
    if (reader_.boolean(*target, attribute::enabled) == false) throw FitError::message("当前窗口不能执行缩放");

    const pid_t pid = app.pid;
    const auto serverID = windowServerID(pid, window, original.value_or(Rect::null()));
    std::optional<Rect> before = serverID ? windowServerFrame(*serverID) : std::nullopt;
    if (!before) before = original;

    auto& applications = services_.workspace;
    const bool activated = co_await dispatch::runOn(services_.mainQueue, [&applications, pid] {
        const auto frontmost = applications.frontmostApplication();
        if (frontmost && frontmost->pid == pid) return true;
        return applications.activate(pid);
    });
    if (!activated) throw FitError::message("无法切换到目标窗口");

    const AXError raised = services_.ax.performAction(window, action::raise);
    log("raise result=" + std::to_string(accessibility::axErrorCode(raised)));
    const AXError pressed = services_.ax.performAction(*target, action::press);
    log("native route=" + route + " result=" + std::to_string(accessibility::axErrorCode(pressed)) +
        " serverWindow=" + optionalText(serverID) + " before=" + optionalText(before));
    if (pressed != AXError::success) throw FitError::message("无法执行窗口缩放");
    if (!before) {
        log("native accepted without geometry readback");
        co_return std::nullopt;
    }
    // Named, not a temporary of the awaited call: GCC 12 destroys such temporaries twice.
    WindowLayout::FrameRead read = [this, window, serverID] { return currentFrame(window, serverID); };
    const Rect settled = co_await WindowLayout::waitForNativeZoom(*before, services_.clock, std::move(read), token);
    log("native settled=" + rectText(settled));
    co_return settled;
}

// The application's own zoom, accepted when it settles at `target`; otherwise the line
// that says geometry comes next. Only a cancellation is thrown.
dispatch::Task<bool> WindowControllerWorker::nativeZoomTowards(Rect target, bool allowsSizeRounding, AXElement window,
                                                               AXElement application,
                                                               workspace::RunningApplication app,
                                                               std::optional<Rect> original,
                                                               dispatch::CancellationToken token) {
    std::optional<Rect> settled;
    std::exception_ptr failure;
    try {
        settled = co_await toggleNativeZoom(window, application, app, original, token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const dispatch::TaskCancelled&) {
            throw;
        } catch (...) {
        }
        log("native unavailable: " + errorDescription(failure) + "; trying geometry");
        co_return false;
    }
    if (settled && WindowLayout::reached(*settled, target, allowsSizeRounding)) co_return true;
    log("native did not reach requested frame=" + rectText(target) + "; trying geometry");
    co_return false;
}

dispatch::Task<void> WindowControllerWorker::maximize(AXElement window, AXElement application,
                                                      workspace::RunningApplication app, std::optional<Rect> original,
                                                      std::optional<std::uint32_t> serverID, Rect fallbackScreen,
                                                      std::vector<Rect> screens, dispatch::CancellationToken token) {
    if (reader_.isTrue(window, attribute::fullScreen)) throw FitError::message("请先退出全屏");
    std::erase_if(restoreEntries_, [this](const RestoreEntry& entry) {
        return !services_.workspace.runningApplication(entry.pid).has_value();
    });
    if (!original) {
        co_await toggleNativeZoom(window, application, app, std::nullopt, token);
        co_return;
    }
    const pid_t pid = app.pid;
    const Rect screen = WindowLayout::screen(*original, screens, fallbackScreen);
    const Rect wayBack = wayBackFrom(pid, window, *original);
    const auto entry = validRestore(pid, window, *original);

    if (entry) {
        const Rect entryScreen = WindowLayout::screen(entry->frame, screens, screen);
        const Rect target = WindowLayout::frame(entry->frame, entryScreen, WindowLayout::Placement::moveToScreen);
        std::exception_ptr failure;
        try {
            co_await restoreSaved(target, *original, window, application, app, serverID, token);
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            rememberFailedRestore(window, pid, *original, serverID);
            std::rethrow_exception(failure);
        }
        co_return;
    }

    if (WindowLayout::reached(*original, screen, true)) {
        // Already filling its screen: only the application's own zoom can take it back.
        co_await toggleNativeZoom(window, application, app, original, token);
        co_return;
    }

    const auto zoomed = co_await nativeZoomTowards(screen, true, window, application, app, original, token);
    if (zoomed) {
        rememberRestore(window, pid, wayBack, screen, false);
        co_return;
    }

    const std::uint64_t sentBefore = writesSent_;
    std::exception_ptr failure;
    try {
        co_await setCompatibleFrame(screen, window, application, serverID, true, std::nullopt,
                                    enhancedUserInterface(application), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure) {
        rememberRestore(window, pid, wayBack, screen, false);
        co_return;
    }
    rememberFailedMaximize(window, pid, *original, wayBack, screen, serverID, writesSent_ != sentBefore);
    std::rethrow_exception(failure);
}

// The saved frame written back; when that fails, the application's own zoom and a second write.
dispatch::Task<void> WindowControllerWorker::restoreSaved(Rect target, Rect original, AXElement window,
                                                          AXElement application, workspace::RunningApplication app,
                                                          std::optional<std::uint32_t> serverID,
                                                          dispatch::CancellationToken token) {
    std::exception_ptr failure;
    try {
        co_await setCompatibleFrame(target, window, application, serverID, false, std::nullopt,
                                    enhancedUserInterface(application), token);
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure) {
        rememberRestore(window, app.pid, original, target, true);
        co_return;
    }
    log("saved-frame restore failed: " + errorDescription(failure) + "; trying native zoom");
    co_await restoreAfterFailedWrite(target, original, window, application, app, serverID, token);
}

// The saved frame could not be written. The application's own zoom and a second write
// both aim at that frame, never at the screen: a zoom that only reaches the screen
// would leave the window maximised and the saved frame lost while looking like a
// success. The entry stays until the window is really back.
dispatch::Task<void> WindowControllerWorker::restoreAfterFailedWrite(Rect target, Rect original, AXElement window,
                                                                     AXElement application,
                                                                     workspace::RunningApplication app,
                                                                     std::optional<std::uint32_t> serverID,
                                                                     dispatch::CancellationToken token) {
    const pid_t pid = app.pid;
    const bool zoomed = co_await nativeZoomTowards(target, false, window, application, app, original, token);
    if (zoomed) {
        rememberRestore(window, pid, original, target, true);
        co_return;
    }
    co_await setCompatibleFrame(target, window, application, serverID, false, std::nullopt,
                                enhancedUserInterface(application), token);
    rememberRestore(window, pid, original, target, true);
}

}  // namespace dorvane::windows
