#include "Dorvane/Windows/WindowAXWorker.h"

#include <algorithm>
#include <string>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "DorvaneCore/Windows/WindowControlTarget.h"
#include "DorvaneCore/Windows/WindowMatching.h"
#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

using accessibility::AXElement;
using accessibility::AXError;
using accessibility::AXValue;
namespace attribute = accessibility::attribute;
namespace action = accessibility::action;
using Method = WindowControlTarget::Method;

namespace {

constexpr std::uint16_t kKeyW = 13;
constexpr std::uint64_t kCommandFlag = 0x100000;

FitError unavailable(WindowControl control) { return FitError::message(std::string(unavailableMessage(control))); }

}  // namespace

WindowAXWorker::WindowAXWorker(accessibility::AccessibilityServices& ax, events::KeyPosting& keys,
                               dispatch::Executor& queue, OperationsLog operationsLog)
    : reader_(ax), keys_(keys), queue_(queue), operationsLog_(std::move(operationsLog)) {}

std::optional<AXElement> WindowAXWorker::targetWindow(const AXElement& application) const {
    const auto focused = reader_.element(application, attribute::focusedWindow);
    const auto main = reader_.element(application, attribute::mainWindow);
    std::vector<AXElement> windows;
    if (focused) windows.push_back(*focused);
    if (main) windows.push_back(*main);
    for (auto& window : reader_.elements(application, attribute::windows)) windows.push_back(std::move(window));
    // The focused window stays first and the main window second.
    std::vector<AXElement> unique;
    for (auto& window : windows) {
        if (window.isValid() && std::find(unique.begin(), unique.end(), window) == unique.end()) {
            unique.push_back(std::move(window));
        }
    }
    std::vector<WindowControlTarget::Candidate> candidates;
    for (const auto& window : unique) {
        reader_.setTimeout(window, messagingTimeout);
        WindowControlTarget::Candidate candidate;
        candidate.focused = focused && window == *focused;
        candidate.main = main && window == *main;
        candidate.minimized = reader_.isTrue(window, attribute::minimized);
        const auto frame = reader_.frame(window);
        candidate.usable = frame && ApplicationTargetPolicy::isUsableWindow(*frame);
        candidates.push_back(candidate);
    }
    const auto index = WindowControlTarget::select(candidates);
    if (!index) return std::nullopt;
    return unique[*index];
}

dispatch::Task<void> WindowAXWorker::perform(WindowControl control, pid_t pid) {
    return dispatch::runOn(queue_, [this, control, pid] { performNow(control, pid); });
}

void WindowAXWorker::performNow(WindowControl control, pid_t pid) const {
    auto& ax = reader_.services();
    const AXElement application = reader_.application(pid, messagingTimeout);
    const auto window = targetWindow(application);
    if (!window) throw FitError::message("没有可操作的窗口");
    reader_.setTimeout(*window, messagingTimeout);

    const bool hasCloseButton = reader_.element(*window, attribute::closeButton).has_value();
    const auto closeButton = reader_.enabledButton(*window, attribute::closeButton);
    const auto minimizeButton = reader_.enabledButton(*window, attribute::minimizeButton);
    const auto zoomButton = reader_.enabledButton(*window, attribute::zoomButton);
    const bool canSetMinimized = reader_.settable(*window, attribute::minimized);
    const bool canSetFullScreen = reader_.settable(*window, attribute::fullScreen);
    const Method method = WindowControlTarget::method(control, hasCloseButton, minimizeButton.has_value(),
                                                      canSetMinimized, canSetFullScreen, zoomButton.has_value());
    if (operationsLog_) {
        operationsLog_("window-control " + std::string(rawValue(control)) + " pid=" + std::to_string(pid) +
                       " method=" + method.text());
    }

    switch (method.kind) {
        case Method::Kind::setMinimized:
            if (ax.setAttributeValue(*window, attribute::minimized, AXValue(true)) != AXError::success) {
                throw unavailable(control);
            }
            return;
        case Method::Kind::toggleFullScreen: {
            const bool entering = reader_.boolean(*window, attribute::fullScreen) != true;
            if (ax.setAttributeValue(*window, attribute::fullScreen, AXValue(entering)) == AXError::success) return;
            if (zoomButton && ax.performAction(*zoomButton, action::press) == AXError::success) return;
            throw unavailable(control);
        }
        case Method::Kind::commandW:
            // Posted without a marker, and nothing is read back.
            keys_.postToProcess(pid, events::KeyEvent{kKeyW, kCommandFlag, true});
            keys_.postToProcess(pid, events::KeyEvent{kKeyW, kCommandFlag, false});
            return;
        case Method::Kind::press: {
            std::optional<AXElement> button;
            if (method.button == attribute::closeButton) button = closeButton;
            if (method.button == attribute::minimizeButton) button = minimizeButton;
            if (method.button == attribute::zoomButton) button = zoomButton;
            if (button && ax.performAction(*button, action::press) == AXError::success) return;
            throw unavailable(control);
        }
        case Method::Kind::unavailable: break;
    }
    throw unavailable(control);
}

dispatch::Task<std::pair<WindowAXHandle, Rect>> WindowAXWorker::prepareSnap(pid_t pid,
                                                                             dispatch::CancellationToken token) {
    co_await dispatch::resumeOn(queue_);
    auto& ax = reader_.services();
    const AXElement application = reader_.application(pid, messagingTimeout);
    const auto window = targetWindow(application);
    if (!window) throw FitError::message("没有可操作的窗口");
    reader_.setTimeout(*window, messagingTimeout);
    if (reader_.isTrue(*window, attribute::fullScreen)) {
        // Whatever the write answers, the frame is read after the animation.
        ax.setAttributeValue(*window, attribute::fullScreen, AXValue(false));
        co_await dispatch::sleepFor(fullScreenExitWait, token);
    }
    const auto frame = reader_.frame(*window);
    if (!frame) throw FitError::message("当前窗口不能调整位置");
    if (!reader_.settable(*window, attribute::position) || !reader_.settable(*window, attribute::size)) {
        throw FitError::message("当前窗口不能调整大小或位置");
    }
    co_return std::pair{WindowAXHandle{*window}, *frame};
}

dispatch::Task<std::optional<ScreenWindow>> WindowAXWorker::frontScreenWindow(pid_t pid,
                                                                             std::vector<ScreenWindow> windows) {
    return dispatch::runOn(queue_, [this, pid, windows = std::move(windows)] {
        return frontScreenWindowNow(pid, windows);
    });
}

std::optional<ScreenWindow> WindowAXWorker::frontScreenWindowNow(pid_t pid,
                                                                const std::vector<ScreenWindow>& windows) const {
    std::vector<ScreenWindow> own;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(own),
                 [pid](const ScreenWindow& window) { return window.pid == pid; });
    const AXElement application = reader_.application(pid, messagingTimeout);
    if (const auto window = targetWindow(application)) {
        reader_.setTimeout(*window, messagingTimeout);
        if (const auto frame = reader_.frame(*window)) {
            std::vector<Rect> bounds;
            for (const auto& entry : own) bounds.push_back(entry.bounds);
            const auto index = WindowMatching::closest(*frame, bounds);
            if (index && WindowMatching::distance(*frame, bounds[*index]) < WindowMatching::threshold) {
                return own[*index];
            }
        }
    }
    const auto fallback = std::find_if(own.begin(), own.end(), [](const ScreenWindow& window) {
        return window.bounds.width >= ApplicationTargetPolicy::minimumUsableWidth &&
               window.bounds.height >= ApplicationTargetPolicy::minimumUsableHeight;
    });
    if (fallback == own.end()) return std::nullopt;
    return *fallback;
}

dispatch::Task<std::optional<WindowAXHandle>> WindowAXWorker::resolve(ScreenWindow window) {
    return dispatch::runOn(queue_, [this, window] { return resolveNow(window); });
}

std::optional<WindowAXHandle> WindowAXWorker::resolveNow(const ScreenWindow& entry) const {
    const AXElement application = reader_.application(entry.pid, messagingTimeout);
    std::vector<AXElement> readable;
    std::vector<Rect> frames;
    for (const auto& window : reader_.elements(application, attribute::windows)) {
        reader_.setTimeout(window, messagingTimeout);
        if (const auto frame = reader_.frame(window)) {
            readable.push_back(window);
            frames.push_back(*frame);
        }
    }
    const auto index = WindowMatching::closest(entry.bounds, frames);
    if (!index || !(WindowMatching::distance(entry.bounds, frames[*index]) < WindowMatching::threshold)) {
        return std::nullopt;
    }
    return WindowAXHandle{readable[*index]};
}

dispatch::Task<std::optional<WindowAXWorker::AutoFillProbe>> WindowAXWorker::autoFillProbe(pid_t pid) {
    return dispatch::runOn(queue_, [this, pid] { return autoFillProbeNow(pid); });
}

std::optional<WindowAXWorker::AutoFillProbe> WindowAXWorker::autoFillProbeNow(pid_t pid) const {
    const AXElement application = reader_.application(pid, messagingTimeout);
    auto window = reader_.element(application, attribute::focusedWindow);
    if (!window) window = reader_.element(application, attribute::mainWindow);
    if (!window) return std::nullopt;
    reader_.setTimeout(*window, messagingTimeout);
    AutoFillPolicy::Window record;
    record.role = reader_.text(*window, attribute::role);
    record.subrole = reader_.text(*window, attribute::subrole);
    record.frame = reader_.frame(*window);
    record.resizable = reader_.settable(*window, attribute::position) && reader_.settable(*window, attribute::size);
    record.fullScreen = reader_.isTrue(*window, attribute::fullScreen);
    record.minimized = reader_.isTrue(*window, attribute::minimized);
    record.modal = reader_.isTrue(*window, attribute::modal);
    return AutoFillProbe{WindowAXHandle{*window}, record};
}

dispatch::Task<std::optional<Rect>> WindowAXWorker::frame(WindowAXHandle handle) {
    return dispatch::runOn(queue_, [this, handle] { return reader_.frame(handle.window); });
}

}  // namespace dorvane::windows
