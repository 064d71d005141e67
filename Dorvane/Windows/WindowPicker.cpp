#include "Dorvane/Windows/WindowPicker.h"

#include <exception>
#include <string>
#include <utility>

#include "Dorvane/Windows/ToolkitScreens.h"
#include "DorvaneCore/Windows/WindowLogText.h"

namespace dorvane::windows {

using workspace::WorkspaceNotification;

WindowPicker::WindowPicker(Services services)
    : permissionCheck([&trust = services.trust] { return trust.isProcessTrusted(); }), services_(std::move(services)) {}

WindowPicker::~WindowPicker() {
    lifetime_.end();
    end();
}

bool WindowPicker::begin(WindowArrangement arrangement, const std::optional<ScreenWindow>& prepicked, Place place,
                         Finished finished) {
    dispatch::assertOn(services_.mainQueue, "WindowPicker::begin");
    end();
    if (!permissionCheck()) return false;
    const auto needed = static_cast<int>(windowCount(arrangement));
    // A pre-picked window already holds the first slot: at least one more must be free.
    if (needed < (prepicked ? 2 : 1)) return false;
    std::vector<std::uint32_t> taken;
    if (prepicked) taken.push_back(prepicked->number);
    session_ = WindowPickSession<std::uint32_t>(needed, taken);

    onPlace_ = std::move(place);
    onEnd_ = std::move(finished);
    isActive_ = true;
    const std::int64_t generation = generation_;
    if (!installMonitors(generation)) {
        end();
        return false;
    }
    restartTimeout();
    deadline_ =
        dispatch::Timer::once(services_.mainQueue, sessionTimeout, whileCurrent(generation, [this] { finish(); }));
    observers_.push_back(
        services_.screens.observeScreenParameters(whileCurrent(generation, [this] { finish(); })));
    for (const auto notification : {WorkspaceNotification::activeSpaceDidChange,
                                    WorkspaceNotification::sessionDidResignActive}) {
        observers_.push_back(services_.workspace.observe(
            notification, [job = whileCurrent(generation, [this] { finish(); })](const auto&) { job(); }));
    }
    log("window-pick-begin needed=" + std::to_string(needed) +
        " prepicked=" + std::to_string(prepicked ? prepicked->number : 0));
    return true;
}

bool WindowPicker::installMonitors(std::int64_t generation) {
    const auto alive = lifetime_.watch();
    const auto current = [this, alive, generation] { return alive && isActive_ && generation == generation_; };
    try {
        globalMonitor_ = services_.pointer.addGlobalMouseMonitor([this, current](const events::MouseEvent& event) {
            if (current()) {
                observe(event.kind, event.location, std::nullopt,
                        PressedWindow{event.windowNumber, event.ordinaryWindowNumber});
            }
        });
        auto local = services_.localMonitor.addLocalMouseMonitor([this, current](const LocalMouseEvent& event) {
            if (current()) {
                const auto number = ownNumber(event.window);
                observe(event.kind, event.location, event.window,
                        number ? std::optional(PressedWindow{*number, 0}) : std::nullopt);
            }
        });
        if (local) localMonitor_ = std::move(*local);
    } catch (const std::exception&) {
        return false;
    }
    return globalMonitor_.isActive() && localMonitor_.isActive();
}

void WindowPicker::end() {
    isActive_ = false;
    ++generation_;
    globalMonitor_.cancel();
    localMonitor_.cancel();
    pressedWindow_.reset();
    receivedDown_ = false;
    timeout_.cancel();
    deadline_.cancel();
    observers_.clear();
    onPlace_ = nullptr;
    onEnd_ = nullptr;
}

void WindowPicker::finish() {
    if (!isActive_) return;
    auto finished = std::move(onEnd_);
    end();
    if (finished) services_.mainQueue.post(std::move(finished));
}

void WindowPicker::restartTimeout() {
    timeout_ = dispatch::Timer::once(services_.mainQueue, idleTimeout, whileCurrent(generation_, [this] { finish(); }));
}

dispatch::Job WindowPicker::whileCurrent(std::int64_t generation, std::function<void()> body) {
    return [this, alive = lifetime_.watch(), generation, body = std::move(body)] {
        if (alive && isActive_ && generation == generation_) body();
    };
}

void WindowPicker::observe(Kind kind, std::optional<Point> location, std::optional<OwnWindowID> own,
                           std::optional<PressedWindow> pressed) {
    if (!isActive_) return;
    if (kind == Kind::leftMouseDown) {
        restartTimeout();
        const Point point = location ? *location : pointerLocation();
        // The toolbar and other panels of this program are never picked, even when the
        // window list has them under the pointer.
        if (isOwnPanel(own)) {
            pressedWindow_.reset();
        } else if (pressed) {
            // Another application's press reaches this queue only after the host handled the
            // whole click, and the click may have raised another window meanwhile: the press
            // itself says which window was under the pointer, and which ordinary one lay
            // beneath it when that one floats.
            pressedWindow_ = ScreenWindow::pressed(pressed->number, pressed->beneath, services_.screenWindows(),
                                                   excludedNumbers());
        } else {
            pressedWindow_ = ScreenWindow::hit(point, services_.screenWindows(), excludedNumbers());
        }
        receivedDown_ = true;
        log("window-pick-down point=" + pointText(point) +
            " window=" + std::to_string(pressedWindow_ ? pressedWindow_->number : 0));
        return;
    }
    if (!receivedDown_) return;
    // The window under the pointer when the button went down, not what the click raised.
    auto window = std::exchange(pressedWindow_, std::nullopt);
    receivedDown_ = false;
    services_.mainQueue.post(whileCurrent(generation_, [this, window] { pick(window); }));
}

void WindowPicker::pick(std::optional<ScreenWindow> window) {
    const auto outcome = session_.click(window ? std::optional(window->number) : std::nullopt);
    const auto slot = static_cast<int>(session_.picked().size()) - 1;
    log("window-pick-result window=" + std::to_string(window ? window->number : 0) + " slot=" + std::to_string(slot) +
        " outcome=" + outcome.text());
    using OutcomeKind = WindowPickSession<std::uint32_t>::Outcome::Kind;
    if (window) {
        if (outcome.kind == OutcomeKind::finished) {
            finish();  // a window picked before
            return;
        }
        const std::int64_t generation = generation_;
        if (onPlace_) onPlace_(*window, slot);
        // The caller may have ended or restarted picking meanwhile.
        if (generation != generation_) return;
    }
    if (outcome.kind != OutcomeKind::picked) finish();
}

Point WindowPicker::pointerLocation() {
    const ToolkitScreens screens(services_.screens.screens());
    const Point pointer = services_.pointer.location();
    const Rect toolkit = screens.toolkit(Rect{pointer.x, pointer.y, 0, 0});
    return screens.topLeft(toolkit).origin();
}

std::set<std::uint32_t> WindowPicker::excludedNumbers() {
    std::set<std::uint32_t> numbers;
    for (const auto id : services_.ownWindows.windows()) {
        const auto state = services_.ownWindows.state(id);
        if (state && state->number && !state->isOrdinary()) numbers.insert(*state->number);
    }
    return numbers;
}

std::optional<std::uint32_t> WindowPicker::ownNumber(std::optional<OwnWindowID> window) {
    if (!window) return std::nullopt;
    const auto state = services_.ownWindows.state(*window);
    return state ? state->number : std::nullopt;
}

bool WindowPicker::isOwnPanel(std::optional<OwnWindowID> window) {
    if (!window) return false;
    const auto state = services_.ownWindows.state(*window);
    return state && !state->isOrdinary();
}

void WindowPicker::log(const std::string& message) const {
    if (services_.operationsLog) services_.operationsLog(message);
}

}  // namespace dorvane::windows
