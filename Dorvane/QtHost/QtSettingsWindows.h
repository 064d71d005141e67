#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "Dorvane/QtHost/SettingsViewFactory.h"
#include "Dorvane/ShellBase/Neighbours/SettingsWindows.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane::system {
class UserDefaults;
}
namespace dorvane::host {
class SimulatedHost;
}
namespace dorvane::displays {
class ScreenServices;
}

namespace dorvane::qthost {

class QtOwnWindowReporter;

// The settings window and the resolution panel as Qt windows, their content made by the
// settings views. Host frames are Qt's own top-left coordinates. Showing the settings
// window brings the program forward; the resolution panel is a floating panel that takes
// the keyboard without doing so, leaving the frontmost application in front.
class QtSettingsWindows final : public shell::SettingsWindows {
public:
    static constexpr int settingsWidth = 900;
    static constexpr int settingsHeight = 720;
    // Where the settings window's position is kept between launches.
    static constexpr const char* frameDefaultsKey = "Dorvane.Settings";

    // After the last of a run of moves, the place is written once, this much later.
    static constexpr double frameSaveDelay = 0.5;

    // How a shown settings window is made key and brought forward with the program,
    // ignoring the other applications; without it, Qt's own activateWindow().
    using Activation = std::function<void(QWidget& window)>;

    // `defaults` may be null: the window then opens centred every time. A new window is
    // centred on the host's main display from `screens`; without it, on Qt's primary screen.
    // The place is written when the window hides, when it goes with the program still open,
    // and, given `timers`, after each run of moves.
    QtSettingsWindows(std::unique_ptr<SettingsViewFactory> views, system::UserDefaults* defaults,
                      displays::ScreenServices* screens = nullptr, dispatch::Executor* timers = nullptr,
                      Activation activate = {});
    ~QtSettingsWindows() override;

    // The program's windows over the host: the place kept in its user defaults (written on
    // `mainQueue`), centred on its main display, and made key through the reporter, which
    // tells the host at once, so that the keys typed next reach them whatever Qt believed.
    static std::unique_ptr<QtSettingsWindows> overHost(std::unique_ptr<SettingsViewFactory> views,
                                                       host::SimulatedHost& host, dispatch::Executor& mainQueue,
                                                       QtOwnWindowReporter& reporter);

    void showSettings(ControlPanelModel& model, bool createNew, std::optional<SettingsPage> page) override;
    bool settingsWindowExists() const override { return static_cast<bool>(settings_); }
    void orderSettingsOut() override;

    std::optional<double> prepareResolution(ControlPanelModel& model, shell::ResolutionContent content,
                                            geometry::Rect frame, ToolbarSide side) override;
    void showResolution(geometry::Rect frame, ToolbarSide side, bool hidden) override;
    bool resolutionPanelExists() const override { return static_cast<bool>(resolution_); }
    bool resolutionPanelVisible() const override;
    std::optional<geometry::Rect> resolutionPanelFrame() const override;
    void setResolutionFrame(geometry::Rect frame) override;
    void replaceResolutionContent(ControlPanelModel& model, shell::ResolutionContent content,
                                  ToolbarSide side) override;
    void revealResolution() override;
    void orderResolutionOut() override;

    QWidget* settingsWindow() const;
    QWidget* settingsContent() const { return settingsContent_; }
    QWidget* resolutionPanel() const { return resolution_.get(); }
    // The settings views' content, on its glass.
    QWidget* resolutionContent() const { return resolutionContent_; }

private:
    class SettingsWindow;
    // Through the activation given, else Qt's own.
    void makeKey(QWidget& window);
    void placeNewSettings();
    void settingsMoved();
    void saveSettingsFrame();
    void setResolutionContent(ControlPanelModel& model, const shell::ResolutionContent& content, ToolbarSide side);

    std::unique_ptr<SettingsViewFactory> views_;
    system::UserDefaults* defaults_;
    displays::ScreenServices* screens_;
    dispatch::Executor* timers_;
    Activation activate_;
    dispatch::Timer frameSave_;
    std::unique_ptr<SettingsWindow> settings_;
    QWidget* settingsContent_ = nullptr;
    std::unique_ptr<OverlayFloatingPanel> resolution_;
    QWidget* resolutionGlass_ = nullptr;
    QWidget* resolutionContent_ = nullptr;
    // As the controller set it: the window's own geometry is rounded to whole pixels.
    geometry::Rect resolutionFrame_;
};

}  // namespace dorvane::qthost
