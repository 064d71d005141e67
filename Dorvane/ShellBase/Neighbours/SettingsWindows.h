#pragma once

#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"

namespace dorvane {
class ControlPanelModel;
}

namespace dorvane::shell {

// What the resolution panel's content is built with.
struct ResolutionContent {
    std::optional<std::string> firstPresetID;  // the custom preset shown first
    std::function<void()> close;
    std::function<void()> restore;
    // The content's measured height, in points, whenever it changes.
    std::function<void(double)> onContentHeight;
};

// The two windows the controller owns whose content belongs to the settings views: the
// fixed-size settings window and the resolution panel beside the toolbar. Frames are in
// the host's top-left screen space. The controller decides when and where; this only
// makes, reuses, places and shows them.
class SettingsWindows {
public:
    virtual ~SettingsWindows() = default;

    // Creates the settings window on first use; builds its content when the window is
    // new, `createNew` is set or a page is given (on `page`, else the resolution page),
    // and otherwise keeps the content and the state of its views; shows it in front and
    // activates the program. Closing it only hides it.
    virtual void showSettings(ControlPanelModel& model, bool createNew, std::optional<SettingsPage> page) = 0;
    virtual bool settingsWindowExists() const = 0;
    virtual void orderSettingsOut() = 0;

    // Gives the resolution panel (made on first use, else reused) new content, placed at
    // `frame` while it does not show yet; answers the height the content reports once
    // shown, measured now, or none where that cannot be told before it shows.
    virtual std::optional<double> prepareResolution(ControlPanelModel& model, ResolutionContent content,
                                                    geometry::Rect frame, ToolbarSide side) = 0;
    // Shows the prepared panel at `frame`, in front and key; fully transparent while `hidden`.
    virtual void showResolution(geometry::Rect frame, ToolbarSide side, bool hidden) = 0;
    virtual bool resolutionPanelExists() const = 0;
    virtual bool resolutionPanelVisible() const = 0;
    virtual std::optional<geometry::Rect> resolutionPanelFrame() const = 0;
    virtual void setResolutionFrame(geometry::Rect frame) = 0;
    // New content in the panel as it stands, shown before this returns: the next key meets it.
    virtual void replaceResolutionContent(ControlPanelModel& model, ResolutionContent content, ToolbarSide side) = 0;
    // Ends the transparent first showing.
    virtual void revealResolution() = 0;
    virtual void orderResolutionOut() = 0;
};

// No windows: nothing is ever shown.
class NullSettingsWindows final : public SettingsWindows {
public:
    void showSettings(ControlPanelModel&, bool, std::optional<SettingsPage>) override {}
    bool settingsWindowExists() const override { return false; }
    void orderSettingsOut() override {}
    std::optional<double> prepareResolution(ControlPanelModel&, ResolutionContent, geometry::Rect,
                                            ToolbarSide) override {
        return std::nullopt;
    }
    void showResolution(geometry::Rect, ToolbarSide, bool) override {}
    bool resolutionPanelExists() const override { return false; }
    bool resolutionPanelVisible() const override { return false; }
    std::optional<geometry::Rect> resolutionPanelFrame() const override { return std::nullopt; }
    void setResolutionFrame(geometry::Rect) override {}
    void replaceResolutionContent(ControlPanelModel&, ResolutionContent, ToolbarSide) override {}
    void revealResolution() override {}
    void orderResolutionOut() override {}
};

}  // namespace dorvane::shell
