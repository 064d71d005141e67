#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>

#include "DorvaneCore/Core/AppTheme.h"
#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/DisplaySize.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// The one model the settings window and the resolution panel observe: the values they
// show and the callbacks they call. The application controller keeps the values
// current and sets every callback; views re-render on changed() and never write the
// settings themselves. Main thread only.
class ControlPanelModel final : public QObject {
    Q_OBJECT

public:
    explicit ControlPanelModel(QObject* parent = nullptr);

    const Preferences& preferences() const { return preferences_; }
    const std::string& status() const { return status_; }
    const std::optional<std::string>& detail() const { return detail_; }
    bool statusActive() const { return statusActive_; }
    bool terminating() const { return terminating_; }
    bool applying() const { return applying_; }
    const std::optional<Dimensions>& applied() const { return applied_; }
    bool copySaved() const { return copySaved_; }
    const ResolutionAdjustment& adjustment() const { return adjustment_; }

    // Each stores the value and emits changed().
    void setPreferences(const Preferences& value);
    void setStatus(const std::string& value);
    void setDetail(const std::optional<std::string>& value);
    void setStatusActive(bool value);
    void setTerminating(bool value);
    void setApplying(bool value);
    void setApplied(const std::optional<Dimensions>& value);
    void setCopySaved(bool value);
    void setAdjustment(const ResolutionAdjustment& value);

    // Callbacks; until the controller sets them they do nothing and answer false.
    std::function<void(bool)> onAutoResolutionToggle = [](bool) {};
    std::function<void(const std::string&)> onAutoResolutionPreset = [](const std::string&) {};
    std::function<void(bool)> onToolbarWhenConnectedToggle = [](bool) {};
    std::function<void(bool)> onToolbarWhenDisconnectedToggle = [](bool) {};
    std::function<void(bool)> onAutoShowDockToggle = [](bool) {};
    std::function<void(bool)> onAutoFillWindowsToggle = [](bool) {};
    std::function<void(bool)> onWindowControlsToggle = [](bool) {};
    std::function<void(bool)> onUUTouchScrollToggle = [](bool) {};
    std::function<void(bool)> onAutoRestoreToggle = [](bool) {};
    std::function<void(std::int64_t)> onScale = [](std::int64_t) {};
    std::function<void(const std::string&, std::int64_t)> onPresetScale = [](const std::string&, std::int64_t) {};
    std::function<void(ResolutionAdjustment::Control, std::int64_t)> onAdjust = [](ResolutionAdjustment::Control,
                                                                                   std::int64_t) {};
    std::function<void()> onSaveCopy = [] {};
    std::function<bool(const std::vector<ApplicationShortcuts>&, bool)> onSaveApplicationShortcuts =
        [](const std::vector<ApplicationShortcuts>&, bool) { return false; };
    std::function<bool(const NamedShortcut&)> onSaveShortcut = [](const NamedShortcut&) { return false; };
    std::function<bool(const std::string&)> onDeleteShortcut = [](const std::string&) { return false; };
    std::function<void(const std::string&, bool)> onShortcutToggle = [](const std::string&, bool) {};
    std::function<bool(FloatingAction, ShortcutIcon)> onFloatingActionIcon = [](FloatingAction, ShortcutIcon) {
        return false;
    };
    std::function<void(FloatingAction, bool)> onFloatingActionToggle = [](FloatingAction, bool) {};
    std::function<void(const std::vector<std::int64_t>&, std::int64_t)> onMoveOperations =
        [](const std::vector<std::int64_t>&, std::int64_t) {};
    std::function<void(ToolbarSide)> onToolbarSide = [](ToolbarSide) {};
    std::function<void(AppTheme)> onTheme = [](AppTheme) {};
    std::function<void(bool)> onFloatingToggle = [](bool) {};
    std::function<void()> onApply = [] {};
    std::function<void(ScreenPreset)> onPreset = [](ScreenPreset) {};
    std::function<void(const std::string&)> onCustom = [](const std::string&) {};
    std::function<void(DisplaySize)> onSize = [](DisplaySize) {};
    std::function<void(const CustomPreset&)> onSaveCustom = [](const CustomPreset&) {};
    std::function<void(const std::string&)> onDeleteCustom = [](const std::string&) {};
    std::function<void()> onRecover = [] {};
    std::function<void()> onQuit = [] {};
    std::function<void()> onDetails = [] {};
    std::function<void()> onSettings = [] {};
    std::function<void()> onNewCustom = [] {};

Q_SIGNALS:
    // A published value was set.
    void changed();

private:
    template <typename T>
    void publish(T& field, const T& value) {
        field = value;
        Q_EMIT changed();
    }

    Preferences preferences_;
    std::string status_ = "正在检测…";
    std::optional<std::string> detail_;
    bool statusActive_ = false;
    bool terminating_ = false;
    bool applying_ = false;
    std::optional<Dimensions> applied_;
    bool copySaved_ = false;
    ResolutionAdjustment adjustment_;
};

}  // namespace dorvane
