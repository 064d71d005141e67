#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Windows/WindowArrangement.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::shell {

// The closures the application controller installs in the floating toolbar.
struct ToolbarCallbacks {
    std::function<void(FloatingAction)> onAction;
    // Never called by the toolbar itself; the same entry as the debug hook's controls.
    std::function<void(windows::WindowControl)> onWindowControl;
    std::function<void(windows::WindowSnap)> onWindowSnap;
    std::function<void(windows::WindowArrangement)> onArrange;
    std::function<void()> onDismissPanels;
    std::function<void()> onWillCollapse;
    std::function<void()> onExpansionChanged;
    // An outside click inside this frame keeps the flyouts open.
    std::function<std::optional<geometry::Rect>()> companionFrame;
    std::function<std::optional<std::int32_t>()> fillTargetPID;
};

// What the shell asks of the floating toolbar. Frames are toolkit frames (origin at
// the bottom left); the screen is the host's, in its own top-left space.
class ToolbarControl {
public:
    virtual ~ToolbarControl() = default;

    virtual void setCallbacks(ToolbarCallbacks callbacks) = 0;
    // Releases held keys, closes the shortcut flyout, stores the settings and rebuilds.
    virtual void configure(const Preferences& preferences) = 0;
    // Disabling collapses first (calling onWillCollapse when expanded) and orders it out.
    virtual void setEnabled(bool on) = 0;
    // Expands a collapsed toolbar or collapses an expanded one; onWillCollapse before
    // collapsing, onExpansionChanged after.
    virtual void toggleList() = 0;
    virtual void redock() = 0;
    virtual void refreshFillState(double afterSeconds) = 0;
    virtual std::optional<std::int32_t> targetApplicationPID() = 0;
    virtual void hideApplicationShortcuts() = 0;
    // Called in this order after the active panel changed.
    virtual void updateAttachedSurface() = 0;
    virtual void updateSelection() = 0;
    virtual void updateDismissalMonitors() = 0;

    virtual bool enabled() const = 0;
    virtual bool expanded() const = 0;
    virtual geometry::Rect panelFrame() const = 0;
    virtual std::optional<displays::Screen> actionScreen() const = 0;
    // The frame the expanded toolbar occupies on the action screen.
    virtual geometry::Rect reservedToolbarFrame() const = 0;
    virtual std::optional<FloatingAction> activePanel() const = 0;
    virtual void setActivePanel(std::optional<FloatingAction> panel) = 0;
    virtual void orderWindowPanelOut() = 0;
};

// No toolbar: it only remembers whether it is enabled and expanded, and has no screen.
class NullToolbarControl final : public ToolbarControl {
public:
    void setCallbacks(ToolbarCallbacks callbacks) override { callbacks_ = std::move(callbacks); }
    void configure(const Preferences&) override {}
    void setEnabled(bool on) override {
        if (!on && expanded_) toggleList();
        enabled_ = on;
    }
    void toggleList() override {
        if (expanded_ && callbacks_.onWillCollapse) callbacks_.onWillCollapse();
        expanded_ = !expanded_;
        if (callbacks_.onExpansionChanged) callbacks_.onExpansionChanged();
    }
    void redock() override {}
    void refreshFillState(double) override {}
    std::optional<std::int32_t> targetApplicationPID() override { return std::nullopt; }
    void hideApplicationShortcuts() override {}
    void updateAttachedSurface() override {}
    void updateSelection() override {}
    void updateDismissalMonitors() override {}
    bool enabled() const override { return enabled_; }
    bool expanded() const override { return expanded_; }
    geometry::Rect panelFrame() const override { return {}; }
    std::optional<displays::Screen> actionScreen() const override { return std::nullopt; }
    geometry::Rect reservedToolbarFrame() const override { return {}; }
    std::optional<FloatingAction> activePanel() const override { return activePanel_; }
    void setActivePanel(std::optional<FloatingAction> panel) override { activePanel_ = panel; }
    void orderWindowPanelOut() override {}

private:
    ToolbarCallbacks callbacks_;
    bool enabled_ = false;
    bool expanded_ = false;
    std::optional<FloatingAction> activePanel_;
};

}  // namespace dorvane::shell
