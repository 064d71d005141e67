// Beside the expanded toolbar: the window-layout and application-shortcut flyouts, what
// closes them and the companion panels from outside, the application whose shortcuts are
// offered with the scan of which applications own windows, and the fill button's state.

#include "Dorvane/Toolbar/FloatingSwitcher.h"

#include <QMouseEvent>
#include <QWindow>

#include "Dorvane/QtHostBase/LocalEventMonitor.h"
#include "Dorvane/Toolbar/ApplicationShortcutFlyoutView.h"
#include "Dorvane/Toolbar/LayoutFlyoutView.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "DorvaneCore/Toolbar/ToolbarDismissal.h"
#include "DorvaneCore/Toolbar/ToolbarFlyouts.h"
#include "DorvaneCore/Toolbar/ToolbarLog.h"
#include "DorvaneCore/Toolbar/ToolbarRefresh.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowSnap.h"

namespace dorvane {

namespace {

bool visible(const QPointer<ToolbarPanel>& panel) { return panel && panel->isVisible(); }

NativeGlassView* flyoutGlass(QWidget* content) {
    return new NativeGlassView(content, DesignTokens::radiusLg, false, DesignTokens::NS::glassBackdrop);
}

}  // namespace

// ---- The flyouts ----

std::optional<geometry::Rect> FloatingSwitcher::anchorRect(ToolbarButton* anchor) const {
    if (anchor == nullptr || anchor->window() == nullptr || anchor->window() == anchor) return std::nullopt;
    const QRect global(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    return space().toolkit(geometry::Rect{double(global.x()), double(global.y()), double(global.width()),
                                          double(global.height())});
}

ToolbarPanel* FloatingSwitcher::makeFlyoutPanel(const char* title) {
    auto* flyout = new ToolbarPanel(QString::fromUtf8(title), environment_->screenSpace);
    flyout->setShadow(DesignTokens::panelShadow);
    return flyout;
}

void FloatingSwitcher::orderWindowPanelOut() {
    if (windowPanel_) windowPanel_->orderOut();
    markWindowButton(false);
}

// The layout button reads as pressed while its flyout is open, as the launcher's does.
void FloatingSwitcher::markWindowButton(bool open) {
    if (ToolbarButton* button = toolbar_ ? toolbar_->windowButton() : nullptr; button != nullptr && button->selected != open) {
        button->selected = open;
        button->updateColors();
    }
}

void FloatingSwitcher::toggleWindowControls(ToolbarButton* anchor) {
    if (visible(windowPanel_)) {
        orderWindowPanelOut();
        hideApplicationShortcuts();
        return;
    }
    const auto anchorFrame = anchorRect(anchor);
    const auto screenFrame = visibleFrame();
    if (!anchorFrame || !screenFrame) return;
    const geometry::Rect frame = ToolbarFlyouts::layoutFrame(
        *anchorFrame, ToolbarPlan::toolbarFrameInPanel(panel_->frame()), *screenFrame, preferences_.toolbarSide);
    if (!windowPanel_) windowPanel_ = makeFlyoutPanel("Corvelle 布局");
    const QSize size(static_cast<int>(ToolbarFlyouts::layoutSize.width), static_cast<int>(ToolbarFlyouts::layoutSize.height));
    windowPanel_->setGlass(flyoutGlass(new LayoutFlyoutView(size, weakly([this](const LayoutChoice& choice) {
        pickLayout(choice);
    }))));
    windowPanel_->setFrame(frame);
    windowPanel_->orderFront();
    markWindowButton(true);
    updateDismissalMonitors();
}

void FloatingSwitcher::pickLayout(const LayoutChoice& choice) {
    orderWindowPanelOut();
    hideApplicationShortcuts();
    if (choice.kind == LayoutChoice::Kind::arrange) {
        if (const auto arrangement = fromRawValue<windows::WindowArrangement>(choice.rawValue)) {
            call(callbacks_.onArrange, *arrangement);
        }
        return;
    }
    if (const auto snap = fromRawValue<windows::WindowSnap>(choice.rawValue)) call(callbacks_.onWindowSnap, *snap);
}

void FloatingSwitcher::toggleApplicationShortcuts(ToolbarButton* anchor) {
    if (visible(applicationPanel_)) {
        hideApplicationShortcuts();
        return;
    }
    const auto application = shortcutApplication();
    const auto list = application ? preferences_.applicationShortcutsFor(application->bundleID) : std::nullopt;
    const auto anchorFrame = anchorRect(anchor);
    const auto screenFrame = visibleFrame();
    if (!application || !list || !anchorFrame || !screenFrame) return;
    sender_.releaseAll();
    call(callbacks_.onDismissPanels);
    orderWindowPanelOut();
    hideApplicationShortcuts();

    const std::vector<NamedShortcut> shortcuts = list->enabledShortcuts();
    const auto grid = ToolbarFlyouts::shortcutsFrame(static_cast<int>(shortcuts.size()), *anchorFrame,
                                                     ToolbarPlan::toolbarFrameInPanel(panel_->frame()), *screenFrame,
                                                     preferences_.toolbarSide);
    if (!grid) return;
    std::vector<ApplicationShortcutFlyoutView::Item> items;
    for (const auto& shortcut : shortcuts) items.push_back({std::string(rawValue(shortcut.icon)), shortcut.name});
    // A fresh panel every time; the previous one goes once its events are handled.
    if (applicationPanel_) applicationPanel_->deleteLater();
    applicationPanel_ = makeFlyoutPanel("Corvelle 应用快捷操作");
    const pid_t pid = application->pid;
    auto pick = weakly([this, pid, shortcuts](int index) {
        // A click that closed the flyout (outside the layout flyout) sends nothing; nor
        // does one for an application that is no longer the one offered.
        if (!visible(applicationPanel_)) return;
        const auto current = shortcutApplication();
        if (!current || current->pid != pid || index < 0 || index >= static_cast<int>(shortcuts.size())) return;
        hideApplicationShortcuts();
        sender_.enqueueTap(shortcuts[static_cast<std::size_t>(index)], pid);
    });
    applicationPanel_->setGlass(flyoutGlass(new ApplicationShortcutFlyoutView(std::move(items), *grid, std::move(pick))));
    applicationPanel_->setFrame(grid->frame);
    applicationPanel_->orderFront();
    if (toolbar_ && toolbar_->applicationButton()) {
        toolbar_->applicationButton()->selected = true;
        toolbar_->applicationButton()->updateColors();
    }
    updateDismissalMonitors();
}

void FloatingSwitcher::hideApplicationShortcuts() {
    if (applicationPanel_) applicationPanel_->orderOut();
    if (toolbar_ && toolbar_->applicationButton()) {
        toolbar_->applicationButton()->selected = false;
        toolbar_->applicationButton()->updateColors();
    }
    updateDismissalMonitors();
}

// ---- Outside clicks ----

void FloatingSwitcher::updateDismissalMonitors() {
    const bool needed = ToolbarDismissal::watchesClicks(enabled_, expanded_, activePanel_.has_value(),
                                                        visible(applicationPanel_), visible(windowPanel_));
    if (!needed) {
        outsideMonitor_.cancel();
        localMonitor_.cancel();
        return;
    }
    if (outsideMonitor_.isActive()) return;
    const auto flip = [this](geometry::Point global) { return geometry::Point{global.x, space().flipHeight - global.y}; };
    if (services_.globalPointer != nullptr) {
        outsideMonitor_ = services_.globalPointer->observe(weakly([this, flip](const GlobalPointerEvent& event) {
            if (event.kind != GlobalPointerEvent::Kind::leftMouseDown &&
                event.kind != GlobalPointerEvent::Kind::rightMouseDown) {
                return;
            }
            dismissIfOutside(flip(event.location));
        }));
    } else {
        // Marks the monitors as installed where there is no global one.
        outsideMonitor_ = dispatch::Observation([] {});
    }
    const auto alive = lifetime_.watch();
    localMonitor_ = qthost::LocalEventMonitor::shared().add(
        qthost::LocalEventMonitor::leftMouseDown | qthost::LocalEventMonitor::rightMouseDown,
        [this, alive, flip](QEvent& event, QWindow&) {
            if (!alive) return false;
            const QPointF global = static_cast<QMouseEvent&>(event).globalPosition();
            dismissIfOutside(flip(geometry::Point{global.x(), global.y()}));
            return false;  // the click goes on to what it was for
        });
}

void FloatingSwitcher::dismissIfOutside(geometry::Point point) {
    std::optional<geometry::Rect> companion;
    if (activePanel_ && callbacks_.companionFrame) companion = callbacks_.companionFrame();
    const auto outcome = ToolbarDismissal::outsideClick(
        point, panel_->frame(), visible(applicationPanel_) ? std::optional(applicationPanel_->frame()) : std::nullopt,
        visible(windowPanel_) ? std::optional(windowPanel_->frame()) : std::nullopt, activePanel_.has_value(), companion);
    if (outcome.hideApplicationShortcuts) hideApplicationShortcuts();
    if (outcome.closeLayoutFlyout) {
        orderWindowPanelOut();
        hideApplicationShortcuts();
    }
    if (outcome.dismissPanels) call(callbacks_.onDismissPanels);
}

// ---- The application offered ----

std::optional<workspace::RunningApplication> FloatingSwitcher::shortcutApplication() {
    if (!preferences_.applicationShortcutsEnabled || preferences_.applicationShortcuts.empty()) return std::nullopt;
    const auto running = services_.workspace.runningApplications();
    std::vector<ToolbarRefresh::RunningApplication> listed;
    listed.reserve(running.size());
    for (const auto& application : running) {
        listed.push_back({application.pid, application.bundleID,
                          application.activationPolicy == workspace::ActivationPolicy::regular, false});
    }
    const auto front = services_.applicationWorkspace.frontmostApplication();
    const auto index = ToolbarRefresh::shortcutApplication(
        toolbarSettings_, listed, front ? std::optional<std::int32_t>(front->pid) : std::nullopt,
        front && front->activationPolicy == workspace::ActivationPolicy::regular, services_.ownPID, history_.recent(),
        applicationWindowPIDs_.value_or(std::unordered_set<std::int32_t>{}));
    if (!index) return std::nullopt;
    return running[*index];
}

void FloatingSwitcher::refreshApplicationShortcutTarget() {
    const auto application = shortcutApplication();
    const std::optional<pid_t> next = application ? std::optional<pid_t>(application->pid) : std::nullopt;
    if (next == displayedApplicationPID_) return;
    const auto front = services_.applicationWorkspace.frontmostApplication();
    call(services_.log, ToolbarLog::applicationShortcutTarget(
                            front ? std::optional<std::int32_t>(front->pid) : std::nullopt, displayedApplicationPID_, next));
    sender_.releaseAll();
    hideApplicationShortcuts();
    if (enabled_) rebuild(false);
}

void FloatingSwitcher::updateApplicationWindowTimer() {
    updateFillTimer();
    if (!ToolbarRefresh::scansApplicationWindows(enabled_, expanded_, toolbarSettings_)) {
        applicationWindowTimer_.cancel();
        return;
    }
    if (applicationWindowTimer_.isActive()) return;
    applicationWindowTimer_ = dispatch::Timer::repeating(services_.mainQueue, ToolbarRefresh::applicationWindowScanInterval,
                                                         weakly([this] { scanApplicationWindows(); }));
    scanApplicationWindows();
}

void FloatingSwitcher::scanApplicationWindows() {
    if (!ToolbarRefresh::scansApplicationWindows(enabled_, expanded_, toolbarSettings_)) return;
    if (applicationWindowScan_) return;
    applicationWindowScan_.emplace();
    // A scan that failed changes nothing but is said in the log, once for a run of them;
    // the timer's next scan tries again.
    dispatch::spawn(services_.mainQueue,
                    runScan(lifetime_.watch(), applicationWindowScan_->token(), applicationWindowEpoch_),
                    [this, alive = lifetime_.watch(), epoch = applicationWindowEpoch_](std::exception_ptr error) {
                        if (!alive) return;
                        if (applicationWindowEpoch_ == epoch) applicationWindowScan_.reset();
                        if (std::exchange(applicationWindowScanFailing_, true)) return;
                        call(services_.log, ToolbarLog::applicationWindowScanFailed(dispatch::failureText(error)));
                    });
}

dispatch::Task<void> FloatingSwitcher::runScan(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                               std::int64_t epoch) {
    if (!alive) co_return;
    const auto windows = co_await services_.catalog.snapshot();
    // Disabled meanwhile: the scan was dropped with it.
    if (!alive) co_return;
    applicationWindowScanFailing_ = false;
    if (applicationWindowEpoch_ != epoch) co_return;
    // Read before the source goes: dropping it cancels the token.
    const bool cancelled = token.isCancelled();
    applicationWindowScan_.reset();
    if (!enabled_ || !expanded_ || cancelled) co_return;
    std::unordered_set<std::int32_t> pids;
    for (const auto& window : windows) pids.insert(window.pid);
    if (applicationWindowPIDs_ == pids) co_return;
    applicationWindowPIDs_ = std::move(pids);
    refreshApplicationShortcutTarget();
}

// ---- The fill button ----

void FloatingSwitcher::updateFillTimer() {
    if (!ToolbarRefresh::pollsFillState(enabled_, expanded_, toolbarSettings_)) {
        fillTimer_.cancel();
        return;
    }
    if (!fillTimer_.isActive()) {
        fillTimer_ = dispatch::Timer::repeating(services_.mainQueue, ToolbarRefresh::fillStateInterval,
                                                weakly([this] { refreshFillState(0); }));
    }
    refreshFillState(0);
}

void FloatingSwitcher::refreshFillState(double afterSeconds) {
    if (afterSeconds > 0) {
        (void)services_.mainQueue.postAfter(afterSeconds, weakly([this] { refreshFillState(0); }));
        return;
    }
    if (!enabled_ || !expanded_ || fillCheck_ || !services_.trust.isProcessTrusted()) return;
    const auto pid = callbacks_.fillTargetPID ? callbacks_.fillTargetPID() : std::nullopt;
    if (!pid || !services_.frontWindowIsFilled) return;
    fillCheck_ = true;
    // Not known: the button keeps its form until the next check.
    dispatch::spawn(services_.mainQueue, runFillCheck(lifetime_.watch(), *pid),
                    [this, alive = lifetime_.watch()](std::exception_ptr) {
                        if (alive) fillCheck_ = false;
                    });
}

dispatch::Task<void> FloatingSwitcher::runFillCheck(dispatch::Lifetime::Watch alive, pid_t pid) {
    if (!alive) co_return;
    std::optional<bool> filled;
    try {
        filled = co_await services_.frontWindowIsFilled(pid);
    } catch (const std::exception&) {
        // Not known: the button keeps its form until the next check.
    }
    if (!alive) co_return;
    fillCheck_ = false;
    if (!filled) co_return;
    frontWindowFilled_ = *filled;
    applyFillState();
}

void FloatingSwitcher::applyFillState() {
    const auto found = buttons_.find(ConfiguredOperation::builtinID(FloatingAction::fillWindow));
    if (found == buttons_.end() || !found->second) return;
    const auto face = ToolbarButtonFace::action(FloatingAction::fillWindow, preferences_.floatingActionIcons,
                                                frontWindowFilled_);
    found->second->update(face.symbol, face.name);
}

}  // namespace dorvane
