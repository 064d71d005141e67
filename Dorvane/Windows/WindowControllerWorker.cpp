#include "Dorvane/Windows/WindowControllerWorker.h"

#include <cmath>
#include <exception>
#include <utility>

#include "Dorvane/Windows/WindowActionLog.h"
#include "Dorvane/Windows/WindowListEntries.h"
#include "Dorvane/Windows/WindowWaits.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "DorvaneCore/Windows/WindowLayout.h"
#include "DorvaneCore/Windows/WindowLogText.h"
#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

using accessibility::AXElement;
using accessibility::AXError;
using accessibility::AXValue;
namespace attribute = accessibility::attribute;
namespace action = accessibility::action;

namespace {

const char* boolText(bool value) { return value ? "true" : "false"; }

bool isFinite(const Rect& rect) {
    return std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.width) && std::isfinite(rect.height);
}

}  // namespace

std::string errorDescription(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& caught) {
        return caught.what();
    } catch (...) {
        return "unknown error";
    }
}

WindowControllerWorker::WindowControllerWorker(Services services, dispatch::Executor& queue,
                                               std::filesystem::path logURL)
    : services_(services), reader_(services.ax), queue_(queue), logURL_(std::move(logURL)) {}

void WindowControllerWorker::log(const std::string& message) const {
    WindowActionLog::append(message, logURL_, services_.clock);
}

dispatch::Task<void> WindowControllerWorker::readFrontmost() {
    auto& workspace = services_.workspace;
    frontmostPID_ = co_await dispatch::runOn(services_.mainQueue, [&workspace]() -> std::optional<pid_t> {
        const auto frontmost = workspace.frontmostApplication();
        if (!frontmost) return std::nullopt;
        return frontmost->pid;
    });
}

// ---- reads ----

Rect WindowControllerWorker::frameOf(const AXElement& window) const {
    AXValue position;
    AXValue size;
    if (services_.ax.copyAttributeValue(window, attribute::position, position) != AXError::success ||
        services_.ax.copyAttributeValue(window, attribute::size, size) != AXError::success) {
        throw FitError::message("该窗口不支持调整");
    }
    auto isGeometry = [](const AXValue& value) {
        return std::holds_alternative<geometry::Point>(value) || std::holds_alternative<geometry::Size>(value);
    };
    if (!isGeometry(position) || !isGeometry(size)) throw FitError::message("该窗口不支持调整");
    const auto* point = std::get_if<geometry::Point>(&position);
    const auto* extent = std::get_if<geometry::Size>(&size);
    if (point == nullptr || extent == nullptr || !std::isfinite(point->x) || !std::isfinite(point->y) ||
        !std::isfinite(extent->width) || !(extent->width > 0) || !std::isfinite(extent->height) ||
        !(extent->height > 0)) {
        throw FitError::message("无法读取窗口位置");
    }
    return Rect(*point, *extent);
}

std::optional<Rect> WindowControllerWorker::frameIfReadable(const AXElement& window) const {
    try {
        return frameOf(window);
    } catch (const FitError&) {
        return std::nullopt;
    }
}

AXElement WindowControllerWorker::focusedWindow(pid_t pid) const {
    const AXElement application = reader_.application(pid, messagingTimeout);
    for (const auto name : {attribute::focusedWindow, attribute::mainWindow}) {
        const auto window = reader_.element(application, name);
        if (!window) continue;
        reader_.setTimeout(*window, messagingTimeout);
        const auto frame = frameIfReadable(*window);
        if (frame && ApplicationTargetPolicy::isUsableWindow(*frame)) return *window;
    }
    AXValue value;
    const auto* windows = services_.ax.copyAttributeValue(application, attribute::windows, value) == AXError::success
                              ? std::get_if<std::vector<AXElement>>(&value)
                              : nullptr;
    if (windows == nullptr) throw FitError::message("找不到可操作的窗口");
    std::vector<AXElement> usable;
    for (const auto& window : *windows) {
        if (!window.isValid()) continue;
        reader_.setTimeout(window, messagingTimeout);
        const auto frame = frameIfReadable(window);
        if (frame && ApplicationTargetPolicy::isUsableWindow(*frame)) usable.push_back(window);
    }
    for (const auto& window : usable) {
        if (reader_.isTrue(window, attribute::main)) return window;
    }
    if (usable.size() == 1) return usable.front();
    throw FitError::message("找不到可操作的窗口");
}

std::optional<std::uint32_t> WindowControllerWorker::windowServerID(pid_t pid, const AXElement& window,
                                                                    const Rect& frame) const {
    const auto entries = readOnScreenWindows(services_.windowList);
    if (!entries) return std::nullopt;
    std::vector<WindowListEntry> kept;
    for (const auto& entry : *entries) {
        if (entry.number && entry.pid == pid && entry.layer == 0 && entry.bounds) kept.push_back(entry);
    }
    std::optional<std::uint32_t> match;
    int matches = 0;
    for (const auto& entry : kept) {
        if (WindowLayout::approximatelyEqual(*entry.bounds, frame, WindowLayout::settleTolerance)) {
            match = entry.number;
            ++matches;
        }
    }
    if (matches == 1) return match;
    if (kept.size() == 1 && (reader_.isTrue(window, attribute::main) || frontmostPID_ == pid)) {
        return kept.front().number;
    }
    return std::nullopt;
}

std::optional<Rect> WindowControllerWorker::windowServerFrame(std::uint32_t number) const {
    for (const auto& entry : readWindow(services_.windowList, number)) {
        if (entry.number == number) return entry.bounds;
    }
    return std::nullopt;
}

Rect WindowControllerWorker::currentFrame(const AXElement& window, std::optional<std::uint32_t> serverID) const {
    if (serverID) {
        if (const auto frame = windowServerFrame(*serverID)) return *frame;
    }
    return frameOf(window);
}

bool WindowControllerWorker::enhancedUserInterface(const AXElement& application) const {
    return reader_.isTrue(application, attribute::enhancedUserInterface);
}

// ---- the write protocol ----

void WindowControllerWorker::checkSettable(const Rect& target, const Rect& current, const AXElement& window) const {
    if (reader_.isTrue(window, attribute::fullScreen)) throw FitError::message("请先退出全屏");
    if (target.origin() != current.origin() && !reader_.settable(window, attribute::position)) {
        throw FitError::message("该窗口不支持调整");
    }
    if (target.size() != current.size() && !reader_.settable(window, attribute::size)) {
        throw FitError::message("该窗口不支持调整");
    }
}

bool WindowControllerWorker::userHoldsMouse() const { return services_.pointer.pressedButtons() != 0; }

void WindowControllerWorker::checkInterrupted(const dispatch::CancellationToken& token) const {
    dispatch::assertOn(queue_, "WindowControllerWorker::checkInterrupted");
    token.throwIfCancelled();
    // An automatic move gives way as soon as the user takes hold of a window.
    if (automaticAdjustment_ && userHoldsMouse()) throw dispatch::TaskCancelled();
}

dispatch::Task<WindowPlacementResult> WindowControllerWorker::setCompatibleFrame(
    Rect target, AXElement window, AXElement application, std::optional<std::uint32_t> serverID,
    bool allowsSizeRounding, std::optional<Rect> placementArea, bool enhancedUI, dispatch::CancellationToken token) {
    bool suspended = false;
    if (enhancedUI) {
        auto& workspace = services_.workspace;
        const bool assistive = co_await dispatch::runOn(services_.mainQueue, [&workspace] {
            return workspace.isVoiceOverEnabled() || workspace.isSwitchControlEnabled();
        });
        if (!assistive) {
            suspended = services_.ax.setAttributeValue(application, attribute::enhancedUserInterface,
                                                       AXValue(false)) == AXError::success;
        }
    }
    log("geometry target=" + rectText(target) + " enhancedUISuspended=" + boolText(suspended));
    std::exception_ptr failure;
    WindowPlacementResult result = WindowPlacementResult::placed;
    try {
        result = co_await setFrame(target, window, serverID, allowsSizeRounding, placementArea, token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (suspended) {
        const AXError restored =
            services_.ax.setAttributeValue(application, attribute::enhancedUserInterface, AXValue(true));
        log("restore enhancedUI result=" + std::to_string(accessibility::axErrorCode(restored)));
    }
    if (failure) std::rethrow_exception(failure);
    co_return result;
}

dispatch::Task<Rect> WindowControllerWorker::waitForFrame(Rect target, bool allowsSizeRounding, AXElement window,
                                                          std::optional<std::uint32_t> serverID,
                                                          dispatch::CancellationToken token) {
    return WindowLayout::waitForFrame(
        target, allowsSizeRounding, services_.clock,
        [this, window, serverID] { return currentFrame(window, serverID); }, std::move(token));
}

dispatch::Task<void> WindowControllerWorker::writePass(Rect target, AXElement window,
                                                       std::optional<std::uint32_t> serverID, int attempt,
                                                       dispatch::CancellationToken token) {
    for (const auto name : {attribute::size, attribute::position, attribute::size}) {
        const bool isSize = name == attribute::size;
        checkInterrupted(token);
        const Rect current = currentFrame(window, serverID);
        // A step that would change nothing costs no write and no pause.
        if (isSize ? current.size() == target.size() : current.origin() == target.origin()) continue;
        checkInterrupted(token);
        const AXValue value = isSize ? AXValue(target.size()) : AXValue(target.origin());
        const AXError result = services_.ax.setAttributeValue(window, name, value);
        log("write attempt=" + std::to_string(attempt) + " attribute=" + std::string(name) +
            " result=" + std::to_string(accessibility::axErrorCode(result)));
        if (result != AXError::success) throw FitError::message("目标窗口不支持调整位置或尺寸");
        ++writesSent_;
        co_await dispatch::sleepFor(writePause, token);
    }
}

dispatch::Task<WindowPlacementResult> WindowControllerWorker::setFrame(Rect target, AXElement window,
                                                                       std::optional<std::uint32_t> serverID,
                                                                       bool allowsSizeRounding,
                                                                       std::optional<Rect> placementArea,
                                                                       dispatch::CancellationToken token) {
    const Rect current = currentFrame(window, serverID);
    checkSettable(target, current, window);
    if (!isFinite(target)) throw FitError::message("无法调整窗口");

    co_await writePass(target, window, serverID, 0, token);
    bool settled = false;
    try {
        co_await waitForFrame(target, allowsSizeRounding, window, serverID, token);
        settled = true;
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (...) {
    }
    if (settled) co_return WindowPlacementResult::placed;

    token.throwIfCancelled();
    co_await writePass(target, window, serverID, 1, token);
    std::exception_ptr waitError;
    try {
        co_await waitForFrame(target, allowsSizeRounding, window, serverID, token);
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (...) {
        waitError = std::current_exception();
    }
    if (!waitError) co_return WindowPlacementResult::placed;

    const Rect actual = currentFrame(window, serverID);
    const auto constrained =
        placementArea ? WindowPlacement::constrainedFrame(actual, target, *placementArea) : std::nullopt;
    if (!constrained) std::rethrow_exception(waitError);
    log("geometry-limited requested=" + rectText(target) + " actual=" + rectText(actual) +
        " placed=" + rectText(*constrained));
    co_await setFrame(*constrained, window, serverID, true, std::nullopt, token);
    co_return WindowPlacementResult::sizeLimited;
}

// ---- entry points ----

dispatch::Task<void> WindowControllerWorker::perform(FloatingAction action, std::optional<std::int32_t> targetPID,
                                                     Rect screen, std::vector<Rect> screens,
                                                     std::optional<Rect> workspace, dispatch::CancellationToken token) {
    co_await dispatch::resumeOn(queue_);
    if (performing_) co_return;
    const BusyScope busy(*this, false);
    co_await readFrontmost();
    if (!services_.ax.isProcessTrusted()) throw FitError::message("请先授予辅助功能权限");
    std::optional<workspace::RunningApplication> app;
    if (targetPID && *targetPID != services_.ownPID) app = services_.workspace.runningApplication(*targetPID);
    if (!app) throw FitError::message("找不到可操作的窗口");
    const pid_t pid = app->pid;
    const std::string bundle = app->bundleID.value_or("unknown");
    log("request action=" + std::string(rawValue(action)) + " app=" + bundle);
    const AXElement window = focusedWindow(pid);

    std::exception_ptr failure;
    try {
        co_await performAction(action, pid, *app, window, screen, std::move(screens), workspace, token);
    } catch (...) {
        failure = std::current_exception();
    }
    const auto frame = frameIfReadable(window);
    if (failure) {
        log("failure frame=" + optionalText(frame) + " error=" + errorDescription(failure));
        std::rethrow_exception(failure);
    }
    log("success frame=" + optionalText(frame));
}

dispatch::Task<void> WindowControllerWorker::performAction(FloatingAction action, pid_t pid,
                                                           workspace::RunningApplication app, AXElement window,
                                                           Rect screen, std::vector<Rect> screens,
                                                           std::optional<Rect> workspace,
                                                           dispatch::CancellationToken token) {
    auto& applications = services_.workspace;
    co_await dispatch::runOn(services_.mainQueue, [&applications, pid] {
        const auto frontmost = applications.frontmostApplication();
        if (!frontmost || frontmost->pid != pid) applications.activate(pid);
    });
    services_.ax.performAction(window, action::raise);

    const auto axFrame = frameIfReadable(window);
    const auto serverID = windowServerID(pid, window, axFrame.value_or(Rect::null()));
    const auto serverFrame = serverID ? windowServerFrame(*serverID) : std::nullopt;
    const auto current = serverFrame ? serverFrame : axFrame;
    const std::string bundle = app.bundleID.value_or("unknown");
    log("resolve app=" + bundle + " axFrame=" + optionalText(axFrame) + " serverFrame=" + optionalText(serverFrame));

    const AXElement application = reader_.application(pid, messagingTimeout);
    const auto enhanced = reader_.boolean(application, attribute::enhancedUserInterface);
    log("begin action=" + std::string(rawValue(action)) + " app=" + bundle + " window=" +
        std::to_string(window.hash()) + " frame=" + optionalText(current) + " enhancedUI=" + optionalText(enhanced));

    const bool enhancedUI = enhanced == true;
    if (action == FloatingAction::maximizeWindow) {
        if (workspace) {
            co_await workspaceToggle(action, pid, app, current, *workspace, window, application, serverID, enhancedUI,
                                     token);
        } else {
            co_await maximize(window, application, app, current, serverID, screen, std::move(screens), token);
        }
    } else if (action == FloatingAction::centerWindow) {
        if (workspace) {
            co_await workspaceToggle(action, pid, app, current, *workspace, window, application, serverID, enhancedUI,
                                     token);
        } else {
            co_await centerOnScreen(current, screen, window, application, serverID, enhancedUI, token);
        }
    }
}

dispatch::Task<void> WindowControllerWorker::centerOnScreen(std::optional<Rect> current, Rect screen,
                                                            AXElement window, AXElement application,
                                                            std::optional<std::uint32_t> serverID, bool enhancedUI,
                                                            dispatch::CancellationToken token) {
    if (!current) throw FitError::message("无法读取窗口位置");
    const Rect target = WindowLayout::frame(*current, screen, WindowLayout::Placement::center);
    log("center target=" + rectText(target));
    if (WindowLayout::approximatelyEqual(*current, target, WindowLayout::settleTolerance)) co_return;
    co_await setCompatibleFrame(target, window, application, serverID, true, std::nullopt, enhancedUI, token);
}

dispatch::Task<void> WindowControllerWorker::workspaceToggle(FloatingAction action, pid_t pid,
                                                             workspace::RunningApplication app,
                                                             std::optional<Rect> current, Rect workspace,
                                                             AXElement window, AXElement application,
                                                             std::optional<std::uint32_t> serverID, bool enhancedUI,
                                                             dispatch::CancellationToken token) {
    if (!current) throw FitError::message("无法读取窗口位置");
    const Rect wayBack = wayBackFrom(pid, window, *current);
    const auto entry = validRestore(pid, window, *current);
    const bool maximizing = action == FloatingAction::maximizeWindow;
    bool restoring = false;
    Rect target = workspace;
    if (!maximizing) {
        // Centring in the work area only lets a stale entry go.
        target = WindowLayout::frame(*current, workspace, WindowLayout::Placement::center);
    } else if (entry) {
        restoring = true;
        target = WindowLayout::frame(entry->frame, workspace, WindowLayout::Placement::moveToScreen);
    } else if (WindowLayout::approximatelyEqual(*current, workspace, WindowLayout::settleTolerance)) {
        // Already filling the work area: the application's own zoom takes it back.
        const auto returned = co_await toggleNativeZoom(window, application, app, current, token);
        if (returned) {
            co_await setCompatibleFrame(WindowLayout::frame(*returned, workspace, WindowLayout::Placement::moveToScreen),
                                        window, application, serverID, true, std::nullopt, enhancedUI, token);
        }
        co_return;
    }
    log(std::string("workspace toggle restoring=") + boolText(restoring) + " target=" + rectText(target));
    const std::uint64_t sentBefore = writesSent_;
    std::exception_ptr failure;
    try {
        co_await setCompatibleFrame(target, window, application, serverID, true, std::nullopt, enhancedUI, token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        if (maximizing && !restoring) {
            rememberFailedMaximize(window, pid, *current, wayBack, target, serverID, writesSent_ != sentBefore);
        }
        if (restoring) rememberFailedRestore(window, pid, *current, serverID);
        std::rethrow_exception(failure);
    }
    if (maximizing) rememberRestore(window, pid, wayBack, target, restoring);
}

dispatch::Task<WindowPlacementResult> WindowControllerWorker::place(Rect target, WindowAXHandle handle, pid_t pid,
                                                                    std::optional<Rect> placementArea,
                                                                    dispatch::CancellationToken token,
                                                                    std::shared_ptr<SentWrites> sent) {
    co_await dispatch::resumeOn(queue_);
    if (performing_) throw FitError::message("窗口正在调整，请稍后重试");
    const BusyScope busy(*this, false);
    co_await readFrontmost();
    const AXElement application = reader_.application(pid, messagingTimeout);
    const Rect current = frameOf(handle.window);
    const auto serverID = windowServerID(pid, handle.window, current);
    const bool enhancedUI = enhancedUserInterface(application);
    const std::uint64_t sentBefore = writesSent_;
    std::exception_ptr failure;
    WindowPlacementResult result = WindowPlacementResult::placed;
    try {
        result = co_await setCompatibleFrame(target, handle.window, application, serverID, true, placementArea,
                                             enhancedUI, token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (sent && writesSent_ != sentBefore) sent->mark();
    if (failure) std::rethrow_exception(failure);
    co_return result;
}

}  // namespace dorvane::windows
