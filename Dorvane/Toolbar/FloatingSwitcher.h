#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include <QPointer>

#include "Dorvane/Input/ShortcutSender.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "Dorvane/Toolbar/ToolbarButton.h"
#include "Dorvane/Toolbar/ToolbarContent.h"
#include "Dorvane/Toolbar/ToolbarGlassHost.h"
#include "Dorvane/Toolbar/ToolbarPanel.h"
#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "Dorvane/Windows/ApplicationWindowCatalog.h"
#include "DorvaneCore/Launcher/ApplicationHistory.h"
#include "DorvaneCore/Toolbar/LayoutFlyout.h"
#include "DorvaneCore/Toolbar/ToolbarPlan.h"
#include "DorvaneCore/Toolbar/ToolbarSettings.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane {

class NativeGlassView;

// The floating quick-actions toolbar: one panel docked at an edge of a screen, a strip
// of buttons when expanded, a round 52-point handle when collapsed. It owns the panel,
// its own shortcut sender, the history of recently active applications, a copy of the
// settings, the two flyouts (window layouts, the front application's shortcuts), the
// outside-click monitors and the timers that keep the application button and the fill
// button current. Every command leaves through a callback the application controller
// sets, except named shortcuts, which go to the toolbar's own sender.
//
// Frames are toolkit frames (bottom-left, y up) of the host's screens, flipped around the
// first screen's top edge; the panels sit in Qt's space. Main thread only.
class FloatingSwitcher final : public shell::ToolbarControl {
public:
    struct Services {
        dispatch::MainQueue& mainQueue;
        dispatch::Clock& clock;
        displays::ScreenServices& screens;
        workspace::ApplicationWorkspace& applicationWorkspace;
        workspace::WorkspaceEvents& workspace;
        accessibility::ProcessTrust& trust;
        // The shared list of other applications' windows.
        windows::ApplicationWindowCatalog& catalog;
        // Whether the process's front window fills its work area.
        std::function<dispatch::Task<bool>(pid_t)> frontWindowIsFilled;
        ShortcutSender::Services sender;
        OperationLog log;
        pid_t ownPID = 0;
        // Clicks in other applications; none where there is no such monitor.
        GlobalPointerMonitor* globalPointer = nullptr;
        // The host's number of one of the program's windows, for the log; 0 when unknown.
        std::function<std::int64_t(const QWidget*)> windowNumber;
        // An application bundle's icon file; none: the application button shows its symbol.
        std::function<std::filesystem::path(const std::string& bundlePath)> iconFile;
        // Kept for the toolbar's life (what the sender's services belong to).
        std::shared_ptr<const void> retained;
    };

    // What the workspace says changed.
    enum class ApplicationChange { activated, launchedOrTerminated };

    explicit FloatingSwitcher(Services services);
    // What the host knows of a press on a button, for its log lines; unset: Qt's values alone.
    void setHostMouseFacts(qthost::HostMouseFactsSource source);
    ~FloatingSwitcher() override;
    FloatingSwitcher(const FloatingSwitcher&) = delete;
    FloatingSwitcher& operator=(const FloatingSwitcher&) = delete;

    // ---- The shell's seam ----
    void setCallbacks(shell::ToolbarCallbacks callbacks) override { callbacks_ = std::move(callbacks); }
    void configure(const Preferences& preferences) override;
    void setEnabled(bool on) override;
    void toggleList() override;
    void redock() override;
    void refreshFillState(double afterSeconds) override;
    std::optional<std::int32_t> targetApplicationPID() override;
    void hideApplicationShortcuts() override;
    void updateAttachedSurface() override;
    void updateSelection() override;
    void updateDismissalMonitors() override;
    bool enabled() const override { return enabled_; }
    bool expanded() const override { return expanded_; }
    geometry::Rect panelFrame() const override { return panel_->frame(); }
    std::optional<displays::Screen> actionScreen() const override;
    geometry::Rect reservedToolbarFrame() const override;
    std::optional<FloatingAction> activePanel() const override { return activePanel_; }
    void setActivePanel(std::optional<FloatingAction> panel) override { activePanel_ = panel; }
    void orderWindowPanelOut() override;

    // ---- Reactions ----
    void screenChanged();
    void appChanged(ApplicationChange change, const std::optional<workspace::RunningApplication>& application);
    // The collapsed handle dragged to a new panel origin.
    void move(geometry::Point origin);
    // A click at a toolkit point: closes what it lies outside of.
    void dismissIfOutside(geometry::Point point);
    // The application whose shortcuts the toolbar offers.
    std::optional<workspace::RunningApplication> shortcutApplication();
    void refreshApplicationShortcutTarget();
    void scanApplicationWindows();

    // ---- Views and state ----
    ToolbarPanel& panel() const { return *panel_; }
    // The expanded strip, none while collapsed.
    ToolbarContent* toolbar() const { return toolbar_; }
    // The collapsed handle, none while expanded.
    ToolbarButton* handle() const { return handle_; }
    ToolbarGlassHost* shadowHost() const { return shadowHost_; }
    NativeGlassView* toolbarGlass() const;
    ToolbarPanel* windowPanel() const { return windowPanel_; }
    ToolbarPanel* applicationPanel() const { return applicationPanel_; }
    // The buttons that can show a selection, by operation identifier.
    const std::map<std::string, QPointer<ToolbarButton>>& buttons() const { return buttons_; }
    ShortcutSender& sender() { return sender_; }
    const ApplicationHistory& history() const { return history_; }
    bool transitioning() const { return toolbarTransitionTask_.has_value(); }
    bool frontWindowFilled() const { return frontWindowFilled_; }
    const std::optional<std::unordered_set<std::int32_t>>& applicationWindowPIDs() const {
        return applicationWindowPIDs_;
    }
    std::optional<pid_t> displayedApplicationPID() const { return displayedApplicationPID_; }
    bool watchesOutsideClicks() const { return outsideMonitor_.isActive(); }
    // How many times the panel's content was built.
    std::uint64_t rebuilds() const { return rebuilds_; }

    // Whether to skip the animations; the program's appearance by default.
    std::function<bool()> reduceMotion;

private:
    // Rebuild and button wiring (FloatingSwitcherRebuild.cpp).
    void rebuild(bool animated);
    void buildStrip(const ToolbarPlan& plan, const std::optional<workspace::RunningApplication>& application);
    void buildHandle(const ToolbarPlan& plan);
    void wireStripButton(ToolbarButton& button, const ToolbarStripButton& planned, ToolbarContent& content);
    void pressHeld(const NamedShortcut& shortcut);
    ToolbarGlassHost* paddedGlass(QWidget* content, double cornerRadius, bool improvesContrast, bool elliptical);
    void runEntrance();

    // Lifecycle, transitions and geometry (FloatingSwitcher.cpp).
    void animateToolbar(const geometry::Rect& target);
    dispatch::Task<void> runTransition(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                       geometry::Rect from, geometry::Rect target, bool expanding);
    void cancelTransition();
    void replace(std::int64_t generation);
    void retainLiveApplications();
    void observeWorkspace();
    ScreenSpace space() const;
    std::optional<geometry::Rect> visibleFrame() const;

    // Flyouts, dismissal and the fill state (FloatingSwitcherFlyouts.cpp).
    void toggleWindowControls(ToolbarButton* anchor);
    void markWindowButton(bool open);
    void toggleApplicationShortcuts(ToolbarButton* anchor);
    std::optional<geometry::Rect> anchorRect(ToolbarButton* anchor) const;
    ToolbarPanel* makeFlyoutPanel(const char* title);
    void pickLayout(const LayoutChoice& choice);
    void updateApplicationWindowTimer();
    dispatch::Task<void> runScan(dispatch::Lifetime::Watch alive, dispatch::CancellationToken token,
                                 std::int64_t epoch);
    void updateFillTimer();
    dispatch::Task<void> runFillCheck(dispatch::Lifetime::Watch alive, pid_t pid);
    void applyFillState();

    // The toolbar's handlers, for its buttons, panels and timers: they do nothing once the
    // toolbar is gone, and what they throw (a host call that failed) goes to the main
    // queue's last resort instead of through the toolkit's frames.
    template <typename F>
    auto weakly(F body) {
        return [alive = lifetime_.watch(), &queue = services_.mainQueue, body = std::move(body)](
                   auto&&... arguments) mutable {
            if (!alive) return;
            dispatch::runGuarded(queue, body, std::forward<decltype(arguments)>(arguments)...);
        };
    }
    template <typename Callback, typename... Arguments>
    static void call(const Callback& callback, Arguments&&... arguments) {
        if (callback) callback(std::forward<Arguments>(arguments)...);
    }

    Services services_;
    std::shared_ptr<ToolbarButtonEnvironment> environment_;
    std::unique_ptr<ToolbarPanel> panel_;
    ShortcutSender sender_;
    ApplicationHistory history_;
    Preferences preferences_;
    ToolbarSettings toolbarSettings_;  // what the toolbar's rules read of preferences_
    shell::ToolbarCallbacks callbacks_;
    bool enabled_ = false;
    bool expanded_ = false;
    bool hasPositionedPanel_ = false;
    std::optional<dispatch::CancellationSource> toolbarTransitionTask_;
    bool rebuildAfterTransition_ = false;
    std::optional<double> preferredCenterY_;
    std::optional<double> preferredCenterX_;
    QPointer<ToolbarContent> toolbar_;
    QPointer<ToolbarButton> handle_;
    std::map<std::string, QPointer<ToolbarButton>> buttons_;
    std::optional<FloatingAction> activePanel_;
    dispatch::Observation outsideMonitor_;
    dispatch::Observation localMonitor_;
    dispatch::Timer applicationWindowTimer_;
    double scrollOffset_ = 0;
    QPointer<ToolbarPanel> windowPanel_;
    QPointer<NativeGlassView> toolbarGlass_;
    QPointer<ToolbarGlassHost> shadowHost_;
    std::optional<std::unordered_set<std::int32_t>> applicationWindowPIDs_;
    std::optional<dispatch::CancellationSource> applicationWindowScan_;
    std::int64_t applicationWindowEpoch_ = 0;
    bool applicationWindowScanFailing_ = false;  // said once per run of failed scans
    dispatch::Timer fillTimer_;
    bool fillCheck_ = false;
    bool frontWindowFilled_ = false;
    std::int64_t redockGeneration_ = 0;
    dispatch::Timer redockSoon_;
    dispatch::Timer redockLater_;
    QPointer<ToolbarPanel> applicationPanel_;
    std::optional<pid_t> displayedApplicationPID_;
    std::uint64_t rebuilds_ = 0;
    dispatch::Observation activations_;
    dispatch::Observation runningApplications_;
    dispatch::Observation screenParameters_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
