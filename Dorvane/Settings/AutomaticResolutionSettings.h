#pragma once

#include <string>

#include <QWidget>

#include "Dorvane/Visual/GlassDropdown.h"

namespace dorvane {

class ControlPanelModel;
class ToggleSwitch;

// The three sections of "连接自动化": switching to a chosen custom preset on connect (the
// dropdown only while that is on) and restoring on disconnect, filling windows during a
// remote session, and showing the Dock on connect. A pure view of the panel model.
class AutomaticResolutionSettings final : public QWidget {
public:
    explicit AutomaticResolutionSettings(ControlPanelModel& model, QWidget* parent = nullptr);

    void render();

    ToggleSwitch* switchOnConnectSwitch() const { return switchOnConnect_; }
    GlassDropdown<std::string>* presetDropdown() const { return dropdown_; }
    QWidget* presetRow() const { return dropdownRow_; }
    QWidget* presetDivider() const { return dropdownDivider_; }
    QWidget* restoreDivider() const { return restoreDivider_; }
    ToggleSwitch* restoreSwitch() const { return restore_; }
    ToggleSwitch* fillWindowsSwitch() const { return fillWindows_; }
    ToggleSwitch* showDockSwitch() const { return showDock_; }

private:
    void choose(const std::string& id);

    ControlPanelModel& model_;
    ToggleSwitch* switchOnConnect_;
    GlassDropdown<std::string>* dropdown_;
    QWidget* dropdownRow_;
    QWidget* dropdownDivider_;
    QWidget* restoreDivider_;
    ToggleSwitch* restore_;
    ToggleSwitch* fillWindows_;
    ToggleSwitch* showDock_;
};

}  // namespace dorvane
