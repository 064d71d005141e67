#pragma once

#include <functional>
#include <optional>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::shell {

struct LauncherCallbacks {
    std::function<void(FloatingAction)> onAction;
    std::function<void()> onHide;
    std::function<void()> onShow;
};

// The application launcher beside the toolbar. Anchors are toolkit frames.
class LauncherControl {
public:
    virtual ~LauncherControl() = default;
    virtual void setCallbacks(LauncherCallbacks callbacks) = 0;
    virtual void show(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) = 0;
    // Repositions a visible launcher panel beside the toolbar frame.
    virtual void update(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) = 0;
    virtual bool panelVisible() const = 0;
    virtual std::optional<geometry::Rect> panelFrame() const = 0;
    virtual void orderPanelOut() = 0;
    // Drops a pending presentation.
    virtual void bumpPresentationGeneration() = 0;
};

class NullLauncherControl final : public LauncherControl {
public:
    void setCallbacks(LauncherCallbacks) override {}
    void show(geometry::Rect, const displays::Screen&, ToolbarSide) override {}
    void update(geometry::Rect, const displays::Screen&, ToolbarSide) override {}
    bool panelVisible() const override { return false; }
    std::optional<geometry::Rect> panelFrame() const override { return std::nullopt; }
    void orderPanelOut() override {}
    void bumpPresentationGeneration() override {}
};

}  // namespace dorvane::shell
