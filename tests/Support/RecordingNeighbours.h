#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "Dorvane/Shell/Neighbours/Neighbours.h"

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
    void redock() override {}
    void refreshFillState(double) override {}
    std::optional<std::int32_t> targetApplicationPID() override { return std::nullopt; }
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

class RecordingWindows final : public shell::WindowCommands {
public:
    explicit RecordingWindows(CallLog& log) : log_(log) {}
    void setLayoutHooks(PrepareLayout prepare, LayoutArea area) override {
        log_.add("windows.setLayoutHooks");
        prepareLayout = std::move(prepare);
        layoutArea = std::move(area);
    }
    dispatch::Task<void> autoFillFront(std::int32_t pid) override {
        log_.add("windows.autoFillFront " + std::to_string(pid));
        co_return;
    }
    void endPicking() override { log_.add("windows.endPicking"); }

    PrepareLayout prepareLayout;
    LayoutArea layoutArea;

private:
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

class RecordingDockSender final : public shell::DockShortcutSender {
public:
    explicit RecordingDockSender(CallLog& log) : log_(log) {}
    void enqueueTap(const NamedShortcut& shortcut, std::optional<std::int32_t>) override {
        log_.add("dock.enqueueTap " + shortcut.id);
    }
    void releaseAll() override { log_.add("dock.releaseAll"); }

private:
    CallLog& log_;
};

class RecordingTouchScroll final : public shell::TouchScrollControl {
public:
    explicit RecordingTouchScroll(CallLog& log) : log_(log) {}
    bool start() override {
        log_.add("touchScroll.start");
        return true;
    }
    void stop() override { log_.add("touchScroll.stop"); }

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
    void refresh() override {}
    bool accessibilityGranted() const override { return granted; }
    void setCompletion(std::function<void()> value) override { completion = std::move(value); }
    void showGuide() override {}

    bool granted = false;
    std::function<void()> completion;
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
        neighbours.permissions = std::make_unique<RecordingPermissions>();
        toolbar = static_cast<RecordingToolbar*>(neighbours.toolbar.get());
        notice = static_cast<RecordingNotice*>(neighbours.notice.get());
        windows = static_cast<RecordingWindows*>(neighbours.windows.get());
        workspace = static_cast<RecordingWorkspaceLayout*>(neighbours.workspaceLayout.get());
        autoFill = static_cast<RecordingAutoFill*>(neighbours.autoFill.get());
        launcher = static_cast<RecordingLauncher*>(neighbours.launcher.get());
    }

    shell::Neighbours neighbours;
    RecordingToolbar* toolbar;
    RecordingNotice* notice;
    RecordingWindows* windows;
    RecordingWorkspaceLayout* workspace;
    RecordingAutoFill* autoFill;
    RecordingLauncher* launcher;
};

}  // namespace dorvane::testing
