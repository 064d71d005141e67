#include "Dorvane/Windows/WindowControlPerformer.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "Dorvane/Windows/ToolkitScreens.h"
#include "Dorvane/Windows/WindowListEntries.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Windows/AutoFillPolicy.h"
#include "DorvaneCore/Windows/WindowLayout.h"
#include "DorvaneCore/Windows/WindowLogText.h"
#include "DorvaneCore/Windows/WindowMatching.h"

namespace dorvane::windows {

namespace {

constexpr const char* kNoWindow = "没有可操作的窗口";
constexpr const char* kNoArea = "当前窗口不能调整位置";
constexpr const char* kBusy = "窗口正在调整，请稍后重试";
constexpr const char* kNotSettled = "窗口未完成调整，请重试";
constexpr const char* kPickedWindowMissing = "找不到所选窗口";

dispatch::Task<void> nothingToPrepare() { co_return; }

// Stops an operation whose facade went while it waited.
void requireAlive(const dispatch::Lifetime::Watch& alive) {
    if (!alive) throw dispatch::TaskCancelled();
}

const char* resultText(WindowPlacementResult result) {
    return result == WindowPlacementResult::sizeLimited ? "sizeLimited" : "placed";
}

}  // namespace

WindowControlPerformer::WindowControlPerformer(Services services, WindowControllerWorker::Services workerServices,
                                               dispatch::Executor& layoutQueue, std::filesystem::path logURL)
    : services_(std::move(services)),
      ax_(workerServices.ax),
      windowList_(workerServices.windowList),
      ownPID_(workerServices.ownPID),
      layoutController_(workerServices, layoutQueue, std::move(logURL), services_.screens) {
    setLayoutArea(nullptr);
    setPrepareLayout(nullptr);
}

WindowControlPerformer::~WindowControlPerformer() {
    lifetime_.end();
    if (pickedTask_) pickedTask_->cancellation->cancel();
}

void WindowControlPerformer::setLayoutArea(LayoutArea area) {
    auto& screens = services_.screens;
    layoutArea_ = area ? std::move(area) : LayoutArea([&screens](const displays::Screen& screen) {
        return ToolkitScreens(screens.screens()).toolkit(screen.visibleFrame);
    });
}

void WindowControlPerformer::setPrepareLayout(PrepareLayout prepare) {
    prepareLayout_ = prepare ? std::move(prepare) : PrepareLayout(nothingToPrepare);
}

void WindowControlPerformer::log(const std::string& message) const {
    if (services_.operationsLog) services_.operationsLog(message);
}

// ---- own windows ----

void WindowControlPerformer::startTracking() {
    if (tracking_.isActive()) return;
    tracking_ = services_.ownWindows.observeKeyWindow([this, alive = lifetime_.watch()] {
        if (!alive) return;
        // The window that has focus now, whichever window the notice was about.
        const auto key = services_.ownWindows.keyWindow();
        if (!key) return;
        const auto state = services_.ownWindows.state(*key);
        if (state && state->isOrdinary()) lastOwnWindow_ = key;
    });
}

std::optional<OwnWindowState> WindowControlPerformer::ordinaryState(std::optional<OwnWindowID> window) {
    if (!window) return std::nullopt;
    auto state = services_.ownWindows.state(*window);
    if (!state || !state->isOrdinary() || !state->visible || state->minimized) return std::nullopt;
    return state;
}

std::optional<OwnWindowID> WindowControlPerformer::ownTarget() {
    dispatch::assertOn(services_.mainQueue, "WindowControlPerformer::ownTarget");
    for (const auto& candidate :
         {services_.ownWindows.keyWindow(), services_.ownWindows.mainWindow(), lastOwnWindow_}) {
        if (ordinaryState(candidate)) return candidate;
    }
    return std::nullopt;
}

OwnWindowID WindowControlPerformer::requireOwnTarget() {
    const auto target = ownTarget();
    if (!target) throw FitError::message(kNoWindow);
    return *target;
}

void WindowControlPerformer::performOwn(WindowControl control, OwnWindowID window) {
    const auto state = services_.ownWindows.state(window);
    if (!state) throw FitError::message(kNoWindow);
    switch (control) {
        case WindowControl::close:
            if (!state->closable) break;
            services_.ownWindows.close(window);
            return;
        case WindowControl::minimize:
            if (!state->miniaturizable) break;
            services_.ownWindows.minimize(window);
            return;
        case WindowControl::fullScreen:
            if (!state->resizable) break;
            services_.ownWindows.toggleFullScreen(window);
            return;
    }
    throw FitError::message(std::string(unavailableMessage(control)));
}

void WindowControlPerformer::setOwnFrame(OwnWindowID window, const Rect& frame) {
    services_.ownWindows.setFrame(window, frame);
}

dispatch::Task<void> WindowControlPerformer::snapOwn(WindowSnap snap, OwnWindowID window,
                                                     dispatch::CancellationToken token) {
    const auto alive = lifetime_.watch();
    const auto before = services_.ownWindows.state(window);
    if (before && before->fullScreen) {
        services_.ownWindows.toggleFullScreen(window);
        co_await dispatch::sleepFor(WindowAXWorker::fullScreenExitWait, token);
        requireAlive(alive);
    }
    const auto state = services_.ownWindows.state(window);
    if (!state) throw FitError::message(kNoWindow);
    const auto area = visibleArea(state->frame);
    if (!area) throw FitError::message(kNoArea);
    setOwnFrame(window, windows::frame(snap, state->frame, *area));
}

WindowPlacementResult WindowControlPerformer::placeOwn(const Rect& target, OwnWindowID window, const Rect& area) {
    auto frameNow = [&] {
        const auto state = services_.ownWindows.state(window);
        if (!state) throw FitError::message(kNotSettled);
        return state->frame;
    };
    setOwnFrame(window, target);
    const Rect actual = frameNow();
    if (WindowLayout::reached(actual, target, true)) return WindowPlacementResult::placed;
    const auto constrained = WindowPlacement::constrainedFrame(actual, target, area);
    if (!constrained) throw FitError::message(kNotSettled);
    setOwnFrame(window, *constrained);
    if (WindowLayout::reached(frameNow(), *constrained, true)) return WindowPlacementResult::sizeLimited;
    throw FitError::message(kNotSettled);
}

// ---- the window list, work areas and the gate ----

std::optional<std::vector<ScreenWindow>> WindowControlPerformer::readScreenWindows() {
    const auto entries = readOnScreenWindows(windowList_);
    if (!entries) return std::nullopt;
    return windows::screenWindows(*entries);
}

std::vector<ScreenWindow> WindowControlPerformer::screenWindows() {
    return readScreenWindows().value_or(std::vector<ScreenWindow>{});
}

std::optional<Rect> WindowControlPerformer::visibleArea(const Rect& frame) {
    const ToolkitScreens screens(services_.screens.screens());
    const auto frames = screens.frames();
    const auto index = screenIndex(frame, frames);
    if (!index) return std::nullopt;
    return screens.topLeft(layoutArea_(screens.screens()[*index]));
}

WindowControlPerformer::GatePass::GatePass(dispatch::Lifetime::Watch alive, WindowController& controller)
    : alive_(std::move(alive)), controller_(&controller) {
    controller_->setPerforming(true);
}

WindowControlPerformer::GatePass::GatePass(GatePass&& other) noexcept
    : alive_(std::move(other.alive_)), controller_(std::exchange(other.controller_, nullptr)) {}

WindowControlPerformer::GatePass::~GatePass() {
    if (controller_ != nullptr && alive_) controller_->setPerforming(false);
}

dispatch::Task<WindowControlPerformer::GatePass> WindowControlPerformer::enterGate(dispatch::CancellationToken token) {
    const auto alive = lifetime_.watch();
    co_await prepareLayout_();
    requireAlive(alive);
    token.throwIfCancelled();
    // Tested and set with nothing in between: two writes never overlap.
    dispatch::assertOn(services_.mainQueue, "WindowControlPerformer::enterGate");
    if (layoutController_.performing()) throw FitError::message(kBusy);
    GatePass pass(alive, layoutController_);
    token.throwIfCancelled();
    co_return std::move(pass);
}

dispatch::Task<WindowPlacementResult> WindowControlPerformer::setFrame(Rect target, WindowAXHandle handle, pid_t pid,
                                                                       std::optional<Rect> placementArea,
                                                                       dispatch::CancellationToken token) {
    const auto pass = co_await enterGate(token);
    co_return co_await writeFrame(target, std::move(handle), pid, placementArea, std::move(token));
}

dispatch::Task<WindowPlacementResult> WindowControlPerformer::writeFrame(Rect target, WindowAXHandle handle, pid_t pid,
                                                                         std::optional<Rect> placementArea,
                                                                         dispatch::CancellationToken token,
                                                                         std::shared_ptr<SentWrites> sent) {
    const auto alive = lifetime_.watch();
    const auto result = co_await layoutController_.worker().place(target, std::move(handle), pid, placementArea,
                                                                  std::move(token), std::move(sent));
    requireAlive(alive);
    log("window-frame target=" + operationsRectText(target));
    co_return result;
}

// ---- commands ----

dispatch::Task<void> WindowControlPerformer::perform(WindowControl control, pid_t pid,
                                                     dispatch::CancellationToken token) {
    if (pid == ownPID_) {
        performOwn(control, requireOwnTarget());
        co_return;
    }
    token.throwIfCancelled();
    co_await services_.axWorker.perform(control, pid);
}

dispatch::Task<void> WindowControlPerformer::snap(WindowSnap snap, pid_t pid, dispatch::CancellationToken token) {
    const auto alive = lifetime_.watch();
    if (pid == ownPID_) {
        co_await snapOwn(snap, requireOwnTarget(), token);
        co_return;
    }
    const auto prepared = co_await prepareOther(pid, token);
    requireAlive(alive);
    co_await setFrame(windows::frame(snap, prepared.frame, prepared.area), prepared.handle, pid, std::nullopt, token);
}

dispatch::Task<WindowControlPerformer::Prepared> WindowControlPerformer::prepareOther(pid_t pid,
                                                                                     dispatch::CancellationToken token) {
    const auto alive = lifetime_.watch();
    auto [handle, frame] = co_await services_.axWorker.prepareSnap(pid, token);
    requireAlive(alive);
    token.throwIfCancelled();
    const auto area = visibleArea(frame);
    if (!area) throw FitError::message(kNoArea);
    co_return Prepared{handle, frame, *area};
}

dispatch::Task<void> WindowControlPerformer::toggleFill(pid_t pid, dispatch::CancellationToken token) {
    const auto alive = lifetime_.watch();
    if (pid == ownPID_) {
        const OwnWindowID window = requireOwnTarget();
        const auto state = services_.ownWindows.state(window);
        if (!state) throw FitError::message(kNoWindow);
        if (state->fullScreen) {
            // Leaving full screen fills the area; the toggle's memory is not consulted.
            co_await snapOwn(WindowSnap::fill, window, token);
            co_return;
        }
        const auto area = visibleArea(state->frame);
        if (!area) throw FitError::message(kNoArea);
        std::optional<FillToggle::Key> key;
        if (state->number) key = FillToggle::Key{pid, *state->number};
        setOwnFrame(window, fillToggle_.target(key, state->frame, *area));
        co_return;
    }
    const auto pass = co_await enterGate(token);
    // Read only once through the gate: a write that ended meanwhile may have moved the window.
    const auto prepared = co_await prepareOther(pid, token);
    const auto front = co_await frontScreenWindow(pid);
    requireAlive(alive);
    std::optional<FillToggle::Key> key;
    if (front) key = FillToggle::Key{pid, front->number};
    co_await writeFill(key, prepared.frame, prepared.area, prepared.handle, pid, token, std::make_shared<SentWrites>());
}

dispatch::Task<void> WindowControlPerformer::writeFill(std::optional<FillToggle::Key> key, Rect current, Rect area,
                                                       WindowAXHandle handle, pid_t pid,
                                                       dispatch::CancellationToken token,
                                                       std::shared_ptr<SentWrites> sent) {
    const auto alive = lifetime_.watch();
    const auto before = key ? std::optional(fillToggle_.memory(*key)) : std::nullopt;
    const Rect target = fillToggle_.target(key, current, area);
    // The memory follows the window. A press that wrote nothing moved nothing, and the next
    // press still goes back where the window is remembered by. Once a write was sent the
    // window may yet get there after the worker gave up on it (it lands late, a later write
    // was refused, the press was cancelled): it keeps the frame it had before this press.
    // A window left part way (its size taken, its position refused) keeps that way back for
    // the next press that finds it where this one left it.
    std::exception_ptr failure;
    try {
        co_await writeFrame(target, handle, pid, std::nullopt, std::move(token), sent);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure) co_return;
    if (alive && key && !sent->any()) fillToggle_.restore(*key, *before);
    if (alive && key && sent->any()) {
        const auto left = co_await services_.axWorker.frame(std::move(handle));
        if (alive && left) fillToggle_.leftPartWay(*key, current, *left, *before);
    }
    std::rethrow_exception(failure);
}

dispatch::Task<std::optional<ScreenWindow>> WindowControlPerformer::frontScreenWindow(pid_t pid) {
    std::vector<ScreenWindow> ordinary;
    for (const auto& window : screenWindows()) {
        if (window.layer == 0) ordinary.push_back(window);
    }
    if (pid != ownPID_) co_return co_await services_.axWorker.frontScreenWindow(pid, std::move(ordinary));
    const auto target = ownTarget();
    const auto state = target ? services_.ownWindows.state(*target) : std::nullopt;
    if (!state || !state->number) co_return std::nullopt;
    const auto found = std::find_if(ordinary.begin(), ordinary.end(),
                                    [&](const ScreenWindow& window) { return window.number == *state->number; });
    if (found == ordinary.end()) co_return std::nullopt;
    co_return *found;
}

dispatch::Task<bool> WindowControlPerformer::frontWindowIsFilled(pid_t pid) {
    const auto alive = lifetime_.watch();
    // Without a list nothing is known to be gone: the memory is kept whole.
    std::optional<std::set<FillToggle::Key>> live;
    if (const auto windows = readScreenWindows()) {
        live.emplace();
        for (const auto& window : *windows) {
            if (window.layer == 0) live->insert(FillToggle::Key{window.pid, window.number});
        }
    }
    const auto front = co_await frontScreenWindow(pid);
    if (!alive) co_return false;
    if (!front) {
        fillToggle_.observe(std::nullopt, std::nullopt, std::nullopt, live);
        co_return false;
    }
    const auto area = visibleArea(front->bounds);
    co_return fillToggle_.observe(FillToggle::Key{pid, front->number}, front->bounds, area, live);
}

dispatch::Task<void> WindowControlPerformer::autoFillFront(pid_t pid) {
    const auto alive = lifetime_.watch();
    if (pid == ownPID_ || !ax_.isProcessTrusted()) co_return;
    const auto probe = co_await services_.axWorker.autoFillProbe(pid);
    if (!alive || !probe) co_return;
    const auto entries = readScreenWindows();
    // Without a list nothing is known to be gone, and nothing can be matched.
    if (!entries) co_return;
    std::set<AutoFillTracker::Key> live;
    for (const auto& entry : *entries) {
        if (entry.layer == 0) live.insert(AutoFillTracker::Key{entry.pid, entry.number});
    }
    autoFillTracker_.retain(live);

    const Rect frame = probe->window.frame.value_or(Rect{});
    std::vector<ScreenWindow> own;
    std::vector<Rect> bounds;
    for (const auto& entry : *entries) {
        if (entry.pid != pid) continue;
        own.push_back(entry);
        bounds.push_back(entry.bounds);
    }
    const auto index = WindowMatching::closest(frame, bounds);
    if (!index || !(WindowMatching::distance(frame, bounds[*index]) < WindowMatching::threshold)) co_return;
    const ScreenWindow& entry = own[*index];
    const auto area = visibleArea(frame);
    if (!area) co_return;
    AutoFillPolicy::Window record = probe->window;
    record.layer = entry.layer;
    const AutoFillTracker::Key key{pid, entry.number};
    if (!autoFillTracker_.allows(key, frame, *area)) co_return;
    const auto decision = AutoFillPolicy::decide(record, *area);
    if (!decision.isFill()) {
        log("auto-fill skip pid=" + std::to_string(pid) + " reason=" + std::string(rawValue(*decision.skipped)));
        co_return;
    }
    const auto sent = std::make_shared<SentWrites>();
    bool written = false;
    std::string failure;
    try {
        written = co_await autoFill(key, probe->handle, pid, sent);
    } catch (const dispatch::TaskCancelled&) {
        co_return;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!alive) co_return;
    if (!failure.empty()) {
        // Once a write was sent the window may still fill after the worker gave up on it:
        // it counts as filled, and is not filled again while it stays in front.
        if (sent->any()) autoFillTracker_.didFill(key);
        log("auto-fill failed pid=" + std::to_string(pid) + " error=" + failure);
        co_return;
    }
    if (!written) {
        log("auto-fill skip pid=" + std::to_string(pid) + " reason=" +
            std::string(rawValue(AutoFillPolicy::Reason::alreadyFilled)));
        co_return;
    }
    autoFillTracker_.didFill(key);
    log("auto-fill pid=" + std::to_string(pid) + " window=" + std::to_string(entry.number));
}

dispatch::Task<bool> WindowControlPerformer::autoFill(AutoFillTracker::Key key, WindowAXHandle handle, pid_t pid,
                                                      std::shared_ptr<SentWrites> sent) {
    const auto alive = lifetime_.watch();
    const dispatch::CancellationToken never;
    const auto pass = co_await enterGate(never);
    // Read again once through the gate: a write that ended since the probe may have moved it.
    const auto frame = co_await services_.axWorker.frame(handle);
    requireAlive(alive);
    const auto area = frame ? visibleArea(*frame) : std::nullopt;
    if (!area) throw FitError::message(kNoArea);
    if (FillToggle::isFilled(*frame, *area, FillToggle::tolerance)) co_return false;
    co_await writeFill(key, *frame, *area, std::move(handle), pid, never, std::move(sent));
    co_return true;
}

// ---- picking ----

dispatch::Task<std::optional<WindowControlPerformer::Target>> WindowControlPerformer::resolve(ScreenWindow window) {
    if (window.pid != ownPID_) {
        const auto handle = co_await services_.axWorker.resolve(window);
        if (!handle) co_return std::nullopt;
        co_return Target(*handle);
    }
    for (const auto id : services_.ownWindows.windows()) {
        const auto state = services_.ownWindows.state(id);
        if (state && state->number == window.number && state->isOrdinary()) co_return Target(id);
    }
    co_return std::nullopt;
}

std::int64_t WindowControlPerformer::beginPicked() {
    dispatch::assertOn(services_.mainQueue, "WindowControlPerformer::beginPicked");
    // The cancelled task stays the tail: the next placement still waits for it to end.
    if (pickedTask_) pickedTask_->cancellation->cancel();
    ++pickedGeneration_;
    pickedCount_ = pickedErrors_ = pickedLimited_ = 0;
    pickedArea_.reset();
    return pickedGeneration_;
}

void WindowControlPerformer::placePicked(WindowArrangement arrangement, ScreenWindow window, int slot) {
    dispatch::assertOn(services_.mainQueue, "WindowControlPerformer::placePicked");
    if (!pickedArea_) {
        // A window without a work area leaves it to the next one.
        pickedArea_ = visibleArea(window.bounds);
        if (!pickedArea_) return;
    }
    auto frames = windows::frames(arrangement, static_cast<int>(windowCount(arrangement)), *pickedArea_);
    if (slot < 0 || static_cast<std::size_t>(slot) >= frames.size()) return;
    const auto previous = pickedTask_;
    PickedTask next{std::make_shared<dispatch::CancellationSource>(), dispatch::Completion()};
    pickedTask_ = next;
    // A placement that failed on its way counts as a window not placed.
    dispatch::spawn(services_.mainQueue,
                    place(lifetime_.watch(), previous, pickedGeneration_, window, std::move(frames), slot,
                          *pickedArea_, next),
                    [this, alive = lifetime_.watch(), generation = pickedGeneration_, pid = window.pid](
                        std::exception_ptr failure) {
                        if (!alive || generation != pickedGeneration_) return;
                        ++pickedErrors_;
                        log("layout-failed pid=" + std::to_string(pid) + " error=" + dispatch::failureText(failure));
                    });
}

dispatch::Task<void> WindowControlPerformer::place(dispatch::Lifetime::Watch alive, std::optional<PickedTask> previous,
                                                   std::int64_t generation, ScreenWindow window,
                                                   std::vector<Rect> frames, int slot, Rect area, PickedTask self) {
    const dispatch::CompleteOnExit finished(self.done);
    const auto token = self.cancellation->token();
    if (previous) co_await previous->done.wait();
    // Nothing of `this` before the facade is known to exist.
    auto stale = [&] { return !alive || token.isCancelled() || generation != pickedGeneration_; };
    if (stale()) co_return;

    std::optional<WindowPlacementResult> result;
    std::string failure;
    try {
        const auto target = co_await resolve(window);
        if (stale()) co_return;
        if (!target) throw FitError::message(kPickedWindowMissing);
        if (const auto* own = std::get_if<OwnWindowID>(&*target)) {
            result = placeOwn(frames[static_cast<std::size_t>(slot)], *own, area);
        } else {
            result = co_await setFrame(frames[static_cast<std::size_t>(slot)], std::get<WindowAXHandle>(*target),
                                       window.pid, area, token);
        }
    } catch (const dispatch::TaskCancelled&) {
        co_return;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (stale()) co_return;
    if (result) {
        ++pickedCount_;
        if (*result == WindowPlacementResult::sizeLimited) ++pickedLimited_;
        log("layout-placed pid=" + std::to_string(window.pid) + " slot=" + std::to_string(slot) +
            " result=" + resultText(*result));
    } else {
        ++pickedErrors_;
        log("layout-failed pid=" + std::to_string(window.pid) + " error=" + failure);
    }
}

dispatch::Task<std::optional<std::string>> WindowControlPerformer::endPicked(WindowArrangement,
                                                                            std::optional<std::int64_t> generation) {
    const auto alive = lifetime_.watch();
    if (generation && *generation != pickedGeneration_) co_return std::nullopt;
    const std::int64_t current = pickedGeneration_;
    if (pickedTask_) {
        const auto done = pickedTask_->done;
        co_await done.wait();
        if (!alive) co_return std::nullopt;
    }
    if (current != pickedGeneration_) co_return std::nullopt;
    std::optional<std::string> text;
    if (pickedErrors_ == 0) {
        if (pickedLimited_ >= 1) text = "窗口尺寸受限";
    } else if (pickedCount_ >= 1) {
        text = "已排列 " + std::to_string(pickedCount_) + " 个窗口，" + std::to_string(pickedErrors_) + " 个未完成";
    } else {
        text = "未能排列窗口";
    }
    pickedCount_ = pickedErrors_ = pickedLimited_ = 0;
    pickedArea_.reset();
    pickedTask_.reset();
    co_return text;
}

}  // namespace dorvane::windows
