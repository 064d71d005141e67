#pragma once

#include <functional>
#include <memory>

#include "Dorvane/Input/LauncherPanel.h"
#include "Dorvane/InputViews/LauncherPressButton.h"
#include "Dorvane/ShellBase/ScreenSpace.h"

class QWidget;

namespace dorvane {

class AppLauncherView;
class NativeGlassView;
class OverlayFloatingPanel;

// The launcher's floating panel in Qt: a translucent overlay panel titled "Corvelle 应用"
// over the other windows, without a window shadow, whose content is the launcher view on a
// glass surface of radius 22. It takes the keyboard (Escape closes it) without making the
// program the frontmost application. Frames are toolkit frames, placed in Qt's space.
class QtLauncherPanel final : public input::LauncherPanel {
public:
    struct Services {
        LauncherPressButton::Timing timing;
        // The space the toolkit frames are given in, as against Qt's.
        std::function<ScreenSpace()> screenSpace;
        // Makes the panel key and front at once, leaving the frontmost application in
        // front; none: Qt's own activation.
        std::function<void(QWidget&)> makeKey;
    };

    // The window level the host lists it at: floating.
    static constexpr int floatingLevel = 3;

    QtLauncherPanel(input::LauncherModel& model, const geometry::Rect& frame, Services services);
    ~QtLauncherPanel() override;

    // What AppLauncher passes on to make the panel on its first showing.
    static input::LauncherPanelFactory factory(Services services);

    bool isVisible() const override;
    geometry::Rect frame() const override { return frame_; }
    void setFrame(const geometry::Rect& frame) override;
    void attach(ToolbarSide side) override;
    void present() override;
    void reveal(ToolbarSide side) override;
    void orderOut() override;

    OverlayFloatingPanel* window() const { return window_.get(); }
    NativeGlassView* glass() const { return glass_; }
    AppLauncherView* view() const { return view_; }

private:
    Services services_;
    std::unique_ptr<OverlayFloatingPanel> window_;
    AppLauncherView* view_;
    NativeGlassView* glass_;
    // As the launcher set it: the window's own geometry is on whole pixels.
    geometry::Rect frame_;
};

}  // namespace dorvane
