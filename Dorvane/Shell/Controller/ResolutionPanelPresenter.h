#pragma once

#include <optional>

#include "Dorvane/ShellBase/Neighbours/SettingsWindows.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane {
class ControlPanelModel;
namespace dispatch {
class MainQueue;
}
}  // namespace dorvane

namespace dorvane::shell {

class ControllerHost;
class ManualResolution;
class PreferencesKeeper;
class ToolbarControl;

// The resolution panel beside the toolbar: where it stands, the height its content asks
// for, and its first showing, held back until that height is known. Main thread only.
class ResolutionPanelPresenter {
public:
    struct Parts {
        const PreferencesKeeper& preferences;
        ControllerHost& host;
        ControlPanelModel& model;
        SettingsWindows& windows;
        ToolbarControl& toolbar;
        ManualResolution& resolution;
        displays::ScreenServices& screens;
        dispatch::MainQueue& mainQueue;
    };

    explicit ResolutionPanelPresenter(Parts parts);
    ~ResolutionPanelPresenter();
    ResolutionPanelPresenter(const ResolutionPanelPresenter&) = delete;
    ResolutionPanelPresenter& operator=(const ResolutionPanelPresenter&) = delete;

    void show(const displays::Screen& screen);
    void contentHeightChanged(double height);
    void keepBesideToolbar();

private:
    ResolutionContent makeContent();
    geometry::Rect frame(const displays::Screen& screen);
    // Keeps `height` as the content's; false when it is within the threshold of the last.
    bool takeContentHeight(double height);
    std::optional<displays::Screen> screenOf(const geometry::Rect& frame);

    Parts parts_;
    std::optional<double> contentHeight_;
    dispatch::Timer reveal_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::shell
