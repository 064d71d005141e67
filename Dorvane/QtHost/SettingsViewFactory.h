#pragma once

#include <memory>
#include <optional>

#include <QWidget>

#include "Dorvane/ShellBase/Neighbours/SettingsWindows.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"

namespace dorvane {
class ControlPanelModel;
}

namespace dorvane::qthost {

// The content of the settings window and of the resolution panel, which belongs to the
// settings views. The views observe the panel model, read its published values and call
// its callbacks; they never reach the controller otherwise.
class SettingsViewFactory {
public:
    virtual ~SettingsViewFactory() = default;

    // The settings window's root view; `startNew` opens the editor of a new custom preset,
    // `page` is the page shown first.
    virtual std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel& model, bool startNew, SettingsPage page) = 0;

    // The resolution panel's view: it calls `content.close` to dismiss the panel,
    // `content.restore` for its restore button and `content.onContentHeight` whenever its
    // measured height changes, and shows `content.firstPresetID` first.
    virtual std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel& model,
                                                             const shell::ResolutionContent& content) = 0;
    // The height a view it made for the resolution panel reports once shown `width` wide,
    // measured before it shows; none where that cannot be told before.
    virtual std::optional<double> resolutionPanelHeight(QWidget& view, int width) = 0;
};

// Until the settings views exist: empty pages.
class NullSettingsViewFactory final : public SettingsViewFactory {
public:
    std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel&, bool, SettingsPage) override {
        return std::make_unique<QWidget>();
    }
    std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel&, const shell::ResolutionContent&) override {
        return std::make_unique<QWidget>();
    }
    std::optional<double> resolutionPanelHeight(QWidget&, int) override { return std::nullopt; }
};

}  // namespace dorvane::qthost
