// The toolbar's life: enabling, disabling and new settings, expanding and collapsing with
// the animated transition, re-placing after screen and display changes, application
// changes, the target application and the geometry the shell asks for.

#include "Dorvane/Toolbar/FloatingSwitcher.h"

#include <vector>

#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Toolbar/ToolbarDismissal.h"
#include "DorvaneCore/Toolbar/ToolbarLog.h"
#include "DorvaneCore/Toolbar/ToolbarMove.h"
#include "DorvaneCore/Toolbar/ToolbarRefresh.h"
#include "DorvaneCore/Toolbar/ToolbarTransition.h"
#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "DorvaneCore/Windows/WindowSnap.h"

namespace dorvane {

namespace {

constexpr double kRedockSoon = 0.35;
constexpr double kRedockLater = 1.2;

bool isRegular(const workspace::RunningApplication& application) {
    return application.activationPolicy == workspace::ActivationPolicy::regular;
}

}  // namespace

FloatingSwitcher::FloatingSwitcher(Services services)
    : services_(std::move(services)),
      environment_(std::make_shared<ToolbarButtonEnvironment>()),
      sender_(services_.sender) {
    environment_->log = services_.log;
    environment_->screenSpace = [&screens = services_.screens] { return ScreenSpace::of(screens.screens()); };
    environment_->windowNumber = services_.windowNumber;
    environment_->clock = &services_.clock;
    environment_->timers = &services_.mainQueue;
    panel_ = std::make_unique<ToolbarPanel>(QStringLiteral("Corvelle 快捷操作"), environment_->screenSpace);
    reduceMotion = [] { return VisualAppearance::shared().reduceMotion(); };
    sender_.targetPID = [this, alive = lifetime_.watch()]() -> std::optional<pid_t> {
        if (!alive) return std::nullopt;
        return targetApplicationPID();
    };
    sender_.onChange = weakly([this](const std::optional<std::string>&) { updateSelection(); });
}

void FloatingSwitcher::setHostMouseFacts(qthost::HostMouseFactsSource source) {
    environment_->hostMouseFacts = std::move(source);
}

FloatingSwitcher::~FloatingSwitcher() {
    lifetime_.end();
    toolbarTransitionTask_.reset();
    applicationWindowScan_.reset();
    outsideMonitor_.cancel();
    localMonitor_.cancel();
    activations_.cancel();
    runningApplications_.cancel();
    screenParameters_.cancel();
    delete windowPanel_.data();
    delete applicationPanel_.data();
}

NativeGlassView* FloatingSwitcher::toolbarGlass() const { return toolbarGlass_.data(); }

ScreenSpace FloatingSwitcher::space() const { return ScreenSpace::of(services_.screens.screens()); }

// ---- Life cycle ----

void FloatingSwitcher::setEnabled(bool on) {
    if (on == enabled_) return;
    if (on) {
        enabled_ = true;
        observeWorkspace();
        const auto front = services_.applicationWorkspace.frontmostApplication();
        if (front && isRegular(*front) && front->pid != services_.ownPID) history_.activate(front->pid);
        rebuild(false);
        call(callbacks_.onExpansionChanged);
        return;
    }
    if (expanded_) call(callbacks_.onWillCollapse);
    enabled_ = false;
    toolbarTransitionTask_.reset();
    rebuildAfterTransition_ = false;
    applicationWindowTimer_.cancel();
    fillTimer_.cancel();
    applicationWindowScan_.reset();
    ++applicationWindowEpoch_;
    sender_.releaseAll();
    call(callbacks_.onDismissPanels);
    panel_->orderOut();
    orderWindowPanelOut();
    hideApplicationShortcuts();
    hasPositionedPanel_ = false;
    expanded_ = false;
    activations_.cancel();
    runningApplications_.cancel();
    screenParameters_.cancel();
    outsideMonitor_.cancel();
    localMonitor_.cancel();
    call(callbacks_.onExpansionChanged);
}

void FloatingSwitcher::observeWorkspace() {
    activations_ = services_.applicationWorkspace.observe(
        workspace::WorkspaceNotification::didActivateApplication,
        weakly([this](const std::optional<workspace::RunningApplication>& application) {
            appChanged(ApplicationChange::activated, application);
        }));
    runningApplications_ = services_.workspace.observeRunningApplications(
        weakly([this](const std::vector<workspace::RunningApplication>&, const std::vector<workspace::RunningApplication>&) {
            appChanged(ApplicationChange::launchedOrTerminated, std::nullopt);
        }));
    screenParameters_ = services_.screens.observeScreenParameters(weakly([this] { screenChanged(); }));
}

void FloatingSwitcher::configure(const Preferences& preferences) {
    sender_.releaseAll();
    hideApplicationShortcuts();
    toolbarSettings_ = preferences.toolbarSettings();
    const bool dismisses = ToolbarDismissal::configurationDismisses(activePanel_, toolbarSettings_);
    preferences_ = preferences;
    scrollOffset_ = 0;
    if (dismisses) call(callbacks_.onDismissPanels);
    if (enabled_) rebuild(false);
}

void FloatingSwitcher::toggleList() {
    if (!enabled_) return;
    sender_.releaseAll();
    call(callbacks_.onDismissPanels);
    hideApplicationShortcuts();
    if (expanded_) {
        call(callbacks_.onWillCollapse);
        // The layouts act on the strip's target: they go with the strip, and so does the
        // watch for clicks outside them.
        orderWindowPanelOut();
        expanded_ = false;
        updateDismissalMonitors();
    } else {
        expanded_ = true;
        scanApplicationWindows();
    }
    rebuild(true);
    if (!toolbarTransitionTask_) call(callbacks_.onExpansionChanged);
}

// ---- The transition ----

void FloatingSwitcher::cancelTransition() {
    // Dropping the source cancels the task: it stops at its next check, setting nothing.
    toolbarTransitionTask_.reset();
}

void FloatingSwitcher::animateToolbar(const geometry::Rect& target) {
    cancelTransition();
    toolbarTransitionTask_.emplace();
    // A slide that failed on its way lands the panel where it was going.
    dispatch::spawn(services_.mainQueue,
                    runTransition(lifetime_.watch(), toolbarTransitionTask_->token(), panel_->frame(), target, expanded_),
                    [this, alive = lifetime_.watch(), target](std::exception_ptr) {
                        if (!alive) return;
                        toolbarTransitionTask_.reset();
                        panel_->setFrame(target);
                    });
}

dispatch::Task<void> FloatingSwitcher::runTransition(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                                     geometry::Rect from, geometry::Rect target, bool expanding) {
    if (!alive || token.isCancelled()) co_return;
    const ToolbarTransition transition(from, target, expanding, services_.clock.uptime());
    while (true) {
        if (!alive || token.isCancelled()) co_return;
        const auto step = transition.step(services_.clock.uptime());
        panel_->setFrame(step.frame);
        if (step.finished) break;
        co_await dispatch::sleepFor(ToolbarTransition::stepInterval, token);
    }
    if (!alive || token.isCancelled()) co_return;
    panel_->setFrame(transition.target());
    toolbarTransitionTask_.reset();
    if (rebuildAfterTransition_) {
        rebuildAfterTransition_ = false;
        rebuild(false);
    }
    call(callbacks_.onExpansionChanged);
}

// ---- Re-placing ----

void FloatingSwitcher::redock() {
    const bool cancelled = toolbarTransitionTask_.has_value();
    cancelTransition();
    rebuildAfterTransition_ = false;
    if (!enabled_) return;
    const std::int64_t generation = ++redockGeneration_;
    replace(generation);
    if (cancelled) call(callbacks_.onExpansionChanged);
    // Displays keep settling after a change: again a little later, and later still.
    redockSoon_ = dispatch::Timer::once(services_.mainQueue, kRedockSoon, weakly([this, generation] { replace(generation); }));
    redockLater_ = dispatch::Timer::once(services_.mainQueue, kRedockLater, weakly([this, generation] { replace(generation); }));
}

void FloatingSwitcher::replace(std::int64_t generation) {
    if (!enabled_ || redockGeneration_ != generation) return;
    // Not positioned: the first screen is where the toolbar goes.
    hasPositionedPanel_ = false;
    rebuild(false);
}

void FloatingSwitcher::screenChanged() {
    if (!enabled_) return;
    sender_.releaseAll();
    call(callbacks_.onDismissPanels);
    redock();
}

// ---- Applications ----

void FloatingSwitcher::appChanged(ApplicationChange change,
                                  const std::optional<workspace::RunningApplication>& application) {
    if (change == ApplicationChange::activated) {
        refreshFillState(ToolbarRefresh::fillStateDelayAfterActivation);
        if (sender_.heldID()) sender_.releaseAll();
        if (application && isRegular(*application) && application->pid != services_.ownPID) {
            history_.activate(application->pid);
            call(callbacks_.onDismissPanels);
        }
    }
    retainLiveApplications();
    refreshApplicationShortcutTarget();
    scanApplicationWindows();
}

void FloatingSwitcher::retainLiveApplications() {
    std::unordered_set<std::int32_t> live;
    for (const auto& application : services_.workspace.runningApplications()) {
        if (application.pid != services_.ownPID) live.insert(application.pid);
    }
    history_.retain(live);
}

std::optional<std::int32_t> FloatingSwitcher::targetApplicationPID() {
    retainLiveApplications();
    std::vector<std::int32_t> visible;
    for (const auto& window : services_.catalog.query()()) visible.push_back(window.pid);
    const auto front = services_.applicationWorkspace.frontmostApplication();
    const std::optional<std::int32_t> frontPID = front ? std::optional<std::int32_t>(front->pid) : std::nullopt;
    const std::optional<bool> frontUsable =
        front && front->pid != services_.ownPID ? services_.catalog.focusedWindowUsable(front->pid) : std::nullopt;
    const auto target =
        windows::ApplicationTargetPolicy::resolve(frontPID, services_.ownPID, visible, history_.recent(), frontUsable);
    if (const auto line = ToolbarLog::targetFallback(frontPID, frontUsable, target)) call(services_.log, *line);
    return target;
}

// ---- Geometry ----

std::optional<displays::Screen> FloatingSwitcher::actionScreen() const {
    const auto screens = services_.screens.screens();
    if (screens.empty()) return std::nullopt;
    if (hasPositionedPanel_) {
        std::vector<geometry::Rect> frames;
        for (const auto& screen : screens) frames.push_back(screen.frame);
        const auto onScreen = ScreenSpace::of(screens).screen(panel_->frame());
        // Only a screen the panel lies on; the first one otherwise.
        if (const auto index = windows::screenIndex(onScreen, frames);
            index && screens[*index].frame.intersects(onScreen)) {
            return screens[*index];
        }
    }
    return screens.front();
}

std::optional<geometry::Rect> FloatingSwitcher::visibleFrame() const {
    const auto screen = actionScreen();
    if (!screen) return std::nullopt;
    return ScreenSpace::of(services_.screens.screens(), screen).toolkit(screen->visibleFrame);
}

geometry::Rect FloatingSwitcher::reservedToolbarFrame() const {
    const auto visible = visibleFrame();
    if (!visible) return panel_->frame();
    return ToolbarPlan::reservedToolbarFrame(toolbarSettings_, *visible, preferredCenterX_, preferredCenterY_);
}

void FloatingSwitcher::move(geometry::Point origin) {
    const auto visible = visibleFrame();
    if (!visible) return;
    if (activePanel_) call(callbacks_.onDismissPanels);
    const geometry::Rect frame = panel_->frame();
    if (!expanded_) {
        // Not remembered: the next rebuild puts the handle back in its corner.
        panel_->setOrigin(ToolbarMove::collapsed(origin, *visible, frame.height));
        return;
    }
    const auto strip = ToolbarMove::expanded(origin, *visible, frame.size(), toolbarSettings_, preferredCenterX_,
                                             preferredCenterY_);
    (isHorizontal(preferences_.toolbarSide) ? preferredCenterX_ : preferredCenterY_) = strip.preferredCenter;
    panel_->setOrigin(strip.origin);
}

}  // namespace dorvane
