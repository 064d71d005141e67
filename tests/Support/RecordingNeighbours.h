#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Dorvane/ShellBase/Neighbours/Neighbours.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Dispatch/Cancellation.h"

namespace dorvane::testing {

// One list of calls across every fake, so a test can check their order.
struct CallLog {
    std::vector<std::string> calls;

    void add(std::string call) { calls.push_back(std::move(call)); }
    bool has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
    std::size_t count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    // The position of the first such call, or calls.size().
    std::size_t at(const std::string& call) const {
        return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
    }
};

inline std::string onOff(bool on) { return on ? "on" : "off"; }

// A toolbar that keeps its flags as the real one does and reports every call; its
// screen and frames are whatever the test sets.
class RecordingToolbar final : public shell::ToolbarControl {
public:
    explicit RecordingToolbar(CallLog& log) : log_(log) {}

    void setCallbacks(shell::ToolbarCallbacks value) override { callbacks = std::move(value); }
    void configure(const Preferences& preferences) override {
        configured = preferences;
        log_.add("toolbar.configure");
    }
    void setEnabled(bool on) override {
        log_.add("toolbar.setEnabled " + onOff(on));
        if (!on && expanded_) collapse();
        enabled_ = on;
    }
    void toggleList() override {
        log_.add("toolbar.toggleList");
        if (expanded_) {
            collapse();
        } else {
            expanded_ = true;
        }
        if (callbacks.onExpansionChanged) callbacks.onExpansionChanged();
    }
    void redock() override { log_.add("toolbar.redock"); }
    void refreshFillState(double) override { log_.add("toolbar.refreshFillState"); }
    std::optional<std::int32_t> targetApplicationPID() override { return target; }
    void hideApplicationShortcuts() override { log_.add("toolbar.hideApplicationShortcuts"); }
    void updateAttachedSurface() override {}
    void updateSelection() override {}
    void updateDismissalMonitors() override {}
    bool enabled() const override { return enabled_; }
    bool expanded() const override { return expanded_; }
    geometry::Rect panelFrame() const override { return panel; }
    std::optional<displays::Screen> actionScreen() const override { return screen; }
    geometry::Rect reservedToolbarFrame() const override { return reserved; }
    std::optional<FloatingAction> activePanel() const override { return active; }
    void setActivePanel(std::optional<FloatingAction> value) override { active = value; }
    void orderWindowPanelOut() override {}

    shell::ToolbarCallbacks callbacks;
    std::optional<std::int32_t> target;
    std::optional<Preferences> configured;
    std::optional<displays::Screen> screen;
    geometry::Rect reserved;
    geometry::Rect panel;
    std::optional<FloatingAction> active;

private:
    void collapse() {
        if (callbacks.onWillCollapse) callbacks.onWillCollapse();
        expanded_ = false;
    }
    CallLog& log_;
    bool enabled_ = false;
    bool expanded_ = false;
};

class RecordingNotice final : public shell::NoticeDisplay {
public:
    explicit RecordingNotice(CallLog& log) : log_(log) {}
    void show(const std::string& title, const std::optional<std::string>& detail, geometry::Rect area) override {
        log_.add("notice.show " + title);
        shown = Shown{title, detail, area};
    }
    void dismiss() override { log_.add("notice.dismiss"); }

    struct Shown {
        std::string title;
        std::optional<std::string> detail;
        geometry::Rect area;
    };
    std::optional<Shown> shown;

private:
    CallLog& log_;
};

// Window commands that answer what the test programs, after `latency` seconds of
// virtual time, and report each call as "windows.<call> <argument> <pid>".
class RecordingWindows final : public shell::WindowCommands {
public:
    explicit RecordingWindows(CallLog& log) : log_(log) {}
    void setLayoutHooks(PrepareLayout prepare, LayoutArea area) override {
        log_.add("windows.setLayoutHooks");
        prepareLayout = std::move(prepare);
        layoutArea = std::move(area);
    }
    void startTracking() override { log_.add("windows.startTracking"); }
    bool hasOwnTarget() override { return ownTarget; }
    dispatch::Task<void> perform(FloatingAction action, std::optional<std::int32_t> pid, displays::Screen,
                                 std::optional<geometry::Rect>) override {
        log_.add("windows.perform " + std::string(rawValue(action)) + " " + pidText(pid));
        co_await answer();
    }
    dispatch::Task<std::optional<std::string>> performControl(windows::WindowControl control,
                                                              std::int32_t pid) override {
        log_.add("windows.control " + std::string(rawValue(control)) + " " + std::to_string(pid));
        co_await answer();
        co_return message;
    }
    dispatch::Task<void> snap(windows::WindowSnap snap, std::int32_t pid) override {
        log_.add("windows.snap " + std::string(rawValue(snap)) + " " + std::to_string(pid));
        co_await answer();
    }
    dispatch::Task<void> toggleFill(std::int32_t pid) override {
        log_.add("windows.toggleFill " + std::to_string(pid));
        co_await answer();
    }
    dispatch::Task<void> autoFillFront(std::int32_t pid) override {
        log_.add("windows.autoFillFront " + std::to_string(pid));
        co_return;
    }
    dispatch::Task<std::optional<windows::ScreenWindow>> frontScreenWindow(std::int32_t pid) override {
        log_.add("windows.frontScreenWindow " + std::to_string(pid));
        co_return frontWindow;
    }
    std::int64_t beginPlacementSession() override { return ++generation; }
    void placePicked(windows::WindowArrangement arrangement, const windows::ScreenWindow& window, int slot) override {
        log_.add("windows.placePicked " + std::string(rawValue(arrangement)) + " " + std::to_string(window.number) +
                 " " + std::to_string(slot));
    }
    dispatch::Task<std::optional<std::string>> endPicked(windows::WindowArrangement arrangement,
                                                         std::int64_t session) override {
        log_.add("windows.endPicked " + std::string(rawValue(arrangement)) + " " + std::to_string(session));
        co_return session == generation ? message : std::nullopt;
    }
    bool beginPicking(windows::WindowArrangement arrangement, const std::optional<windows::ScreenWindow>&,
                      PlacePicked place, std::function<void()> done) override {
        log_.add("windows.beginPicking " + std::string(rawValue(arrangement)));
        picking = pickerStarts;
        if (pickerStarts) {
            placeInPick = std::move(place);
            finished = std::move(done);
        }
        return pickerStarts;
    }
    void endPicking() override {
        log_.add("windows.endPicking");
        picking = false;
    }

    static std::string pidText(std::optional<std::int32_t> pid) { return pid ? std::to_string(*pid) : "none"; }

    PrepareLayout prepareLayout;
    LayoutArea layoutArea;
    double latency = 0;
    std::optional<std::string> failure;  // thrown as a FitError
    std::optional<std::string> message;  // what controls and pick sessions answer
    bool ownTarget = false;
    std::optional<windows::ScreenWindow> frontWindow;
    bool pickerStarts = true;
    bool picking = false;
    PlacePicked placeInPick;
    std::function<void()> finished;
    std::int64_t generation = 0;

private:
    dispatch::Task<void> answer() {
        if (latency > 0) co_await dispatch::sleepFor(latency);
        if (failure) throw FitError(*failure);
    }
    CallLog& log_;
};

class RecordingWorkspaceLayout final : public shell::WorkspaceLayout {
public:
    explicit RecordingWorkspaceLayout(CallLog& log) : log_(log) {}
    void setRegionProvider(RegionProvider value) override {
        log_.add("workspace.setRegionProvider");
        provider = std::move(value);
    }
    void setEnabled(bool on) override { enabled = on; }
    void cancel() override { log_.add("workspace.cancel"); }
    dispatch::Task<void> suspendCurrentAdjustment() override {
        log_.add("workspace.suspendCurrentAdjustment");
        co_return;
    }
    void releaseToolbar() override { log_.add("workspace.releaseToolbar"); }

    RegionProvider provider;
    bool enabled = false;

private:
    CallLog& log_;
};

class RecordingAutoFill final : public shell::AutoFill {
public:
    explicit RecordingAutoFill(CallLog& log) : log_(log) {}
    void setPerform(Perform value) override {
        log_.add("autoFill.setPerform");
        perform = std::move(value);
    }
    void setCanFill(CanFill value) override { canFill = std::move(value); }
    void setEnabled(bool on) override { enabled = on; }

    Perform perform;
    CanFill canFill;
    bool enabled = false;

private:
    CallLog& log_;
};

// A Dock sender whose tap holds for `holdSeconds` of virtual time, as a slow
// application does, until it ends or releaseAll() cancels it.
class RecordingDockSender final : public shell::DockShortcutSender {
public:
    explicit RecordingDockSender(CallLog& log) : log_(log) {}
    void enqueueTap(const NamedShortcut& shortcut, std::optional<std::int32_t>) override {
        log_.add("dock.enqueueTap " + shortcut.id);
        pending_.emplace();
    }
    dispatch::Task<void> waitForPendingTap() override {
        if (!pending_) co_return;
        co_await dispatch::sleepFor(holdSeconds, pending_->token());
        log_.add("dock.tapEnded");
    }
    void releaseAll() override {
        log_.add("dock.releaseAll");
        pending_.reset();
    }

    double holdSeconds = 0;

private:
    CallLog& log_;
    std::optional<dispatch::CancellationSource> pending_;
};

class RecordingTouchScroll final : public shell::TouchScrollControl {
public:
    explicit RecordingTouchScroll(CallLog& log) : log_(log) {}
    bool start() override {
        log_.add("touchScroll.start");
        running = starts;
        return starts;
    }
    void stop() override {
        log_.add("touchScroll.stop");
        running = false;
    }

    bool starts = true;
    bool running = false;

private:
    CallLog& log_;
};

class RecordingLauncher final : public shell::LauncherControl {
public:
    explicit RecordingLauncher(CallLog& log) : log_(log) {}
    void setCallbacks(shell::LauncherCallbacks value) override { callbacks = std::move(value); }
    void show(geometry::Rect, const displays::Screen&, ToolbarSide) override { log_.add("launcher.show"); }
    void update(geometry::Rect value, const displays::Screen&, ToolbarSide) override {
        log_.add("launcher.update");
        anchor = value;
    }
    bool panelVisible() const override { return visible; }
    std::optional<geometry::Rect> panelFrame() const override { return frame; }
    void orderPanelOut() override { visible = false; }
    void bumpPresentationGeneration() override { ++generation; }

    shell::LauncherCallbacks callbacks;
    bool visible = false;
    std::optional<geometry::Rect> frame;
    std::optional<geometry::Rect> anchor;
    int generation = 0;

private:
    CallLog& log_;
};

class RecordingPermissions final : public shell::PermissionTracker {
public:
    explicit RecordingPermissions(CallLog& log) : log_(log) {}
    void refresh() override {}
    bool accessibilityGranted() const override { return granted; }
    void setCompletion(std::function<void()> value) override { completion = std::move(value); }
    void showGuide() override { log_.add("permissions.showGuide"); }

    // The user grants the permission: the waiting step runs once.
    void grant() {
        granted = true;
        if (auto waiting = std::exchange(completion, nullptr)) waiting();
    }

    bool granted = false;
    std::function<void()> completion;

private:
    CallLog& log_;
};

// The settings window and the resolution panel as the controller sees them.
class RecordingSettingsWindows final : public shell::SettingsWindows {
public:
    explicit RecordingSettingsWindows(CallLog& log) : log_(log) {}
    void showSettings(ControlPanelModel&, bool createNew, std::optional<SettingsPage> page) override {
        static constexpr const char* pages[] = {"general", "connection", "resolution", "floating", "touch"};
        log_.add(std::string("settings.show ") + (createNew ? "new " : "") +
                 (page ? pages[static_cast<int>(*page)] : "-"));
        settingsExists = true;
    }
    bool settingsWindowExists() const override { return settingsExists; }
    void orderSettingsOut() override { log_.add("settings.orderOut"); }
    std::optional<double> prepareResolution(ControlPanelModel&, shell::ResolutionContent value, geometry::Rect at,
                                            ToolbarSide) override {
        content = std::move(value);
        frame = at;
        exists = true;
        return measuredHeight;
    }
    void showResolution(geometry::Rect at, ToolbarSide, bool hiddenAtFirst) override {
        log_.add(std::string("resolution.show") + (hiddenAtFirst ? " hidden" : ""));
        frame = at;
        visible = true;
        hidden = hiddenAtFirst;
    }
    bool resolutionPanelExists() const override { return exists; }
    bool resolutionPanelVisible() const override { return visible; }
    std::optional<geometry::Rect> resolutionPanelFrame() const override {
        return exists ? std::optional<geometry::Rect>(frame) : std::nullopt;
    }
    void setResolutionFrame(geometry::Rect at) override {
        log_.add("resolution.setFrame");
        frame = at;
    }
    void replaceResolutionContent(ControlPanelModel&, shell::ResolutionContent value, ToolbarSide) override {
        log_.add("resolution.replaceContent");
        content = std::move(value);
    }
    void revealResolution() override {
        if (hidden) log_.add("resolution.reveal");
        hidden = false;
    }
    void orderResolutionOut() override {
        if (visible) log_.add("resolution.orderOut");
        visible = false;
    }

    bool settingsExists = false;
    bool exists = false;
    bool visible = false;
    bool hidden = false;
    geometry::Rect frame;
    shell::ResolutionContent content;
    // The height new content measures before it shows; none: it cannot be told then.
    std::optional<double> measuredHeight;

private:
    CallLog& log_;
};

// The fakes, owned by the controller once handed over; the pointers stay for the test.
struct RecordingNeighbours {
    explicit RecordingNeighbours(CallLog& log) {
        neighbours.toolbar = std::make_unique<RecordingToolbar>(log);
        neighbours.touchScroll = std::make_unique<RecordingTouchScroll>(log);
        neighbours.windows = std::make_unique<RecordingWindows>(log);
        neighbours.notice = std::make_unique<RecordingNotice>(log);
        neighbours.workspaceLayout = std::make_unique<RecordingWorkspaceLayout>(log);
        neighbours.dockSender = std::make_unique<RecordingDockSender>(log);
        neighbours.autoFill = std::make_unique<RecordingAutoFill>(log);
        neighbours.launcher = std::make_unique<RecordingLauncher>(log);
        neighbours.permissions = std::make_unique<RecordingPermissions>(log);
        neighbours.settingsWindows = std::make_unique<RecordingSettingsWindows>(log);
        toolbar = static_cast<RecordingToolbar*>(neighbours.toolbar.get());
        notice = static_cast<RecordingNotice*>(neighbours.notice.get());
        windows = static_cast<RecordingWindows*>(neighbours.windows.get());
        workspace = static_cast<RecordingWorkspaceLayout*>(neighbours.workspaceLayout.get());
        autoFill = static_cast<RecordingAutoFill*>(neighbours.autoFill.get());
        launcher = static_cast<RecordingLauncher*>(neighbours.launcher.get());
        dock = static_cast<RecordingDockSender*>(neighbours.dockSender.get());
        touchScroll = static_cast<RecordingTouchScroll*>(neighbours.touchScroll.get());
        permissions = static_cast<RecordingPermissions*>(neighbours.permissions.get());
        settingsWindows = static_cast<RecordingSettingsWindows*>(neighbours.settingsWindows.get());
    }

    shell::Neighbours neighbours;
    RecordingToolbar* toolbar;
    RecordingNotice* notice;
    RecordingWindows* windows;
    RecordingWorkspaceLayout* workspace;
    RecordingAutoFill* autoFill;
    RecordingLauncher* launcher;
    RecordingDockSender* dock;
    RecordingTouchScroll* touchScroll;
    RecordingPermissions* permissions;
    RecordingSettingsWindows* settingsWindows;
};

}  // namespace dorvane::testing
