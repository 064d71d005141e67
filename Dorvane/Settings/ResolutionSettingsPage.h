#pragma once

#include <map>
#include <string>
#include <vector>

#include "Dorvane/Settings/SettingsPageView.h"

class QLabel;
class QVBoxLayout;

namespace dorvane {

class ResolutionPresetRow;
class SettingsView;
class StyledButton;

// "分辨率": the user's custom presets, one row each in stored order with the one in effect
// marked, the status detail under them while there is one, and the two ways to add one:
// "新增规格" opens the editor on a new draft, "设备模板" the device-template sheet. Editing,
// copying and deleting go through the editor and the deletion alert; the page itself only
// sets the window's view state. It also gives the window its editor sheet.
class ResolutionSettingsPage final : public SettingsPageView {
public:
    static constexpr const char* deviceTemplatesSheet = "deviceTemplates";

    explicit ResolutionSettingsPage(SettingsView& view);

    void render() override;
    void presentSheets() override;

    StyledButton* templatesButton() const { return templates_; }
    StyledButton* newPresetButton() const { return newPreset_; }
    // The card holding the rows; hidden while there is no custom preset.
    QWidget* listCard() const { return card_; }
    // The rows in the order shown.
    std::vector<ResolutionPresetRow*> rows() const;
    ResolutionPresetRow* row(const std::string& id) const;
    // The detail banner, none while the model has no detail.
    QWidget* detailBanner() const { return banner_; }
    QLabel* detailText() const { return detailText_; }

private:
    void renderRows();
    void renderDetail();

    SettingsView& view_;
    StyledButton* templates_;
    StyledButton* newPreset_;
    QWidget* content_;
    QVBoxLayout* stack_;
    QWidget* card_;
    QVBoxLayout* cardRows_;
    std::map<std::string, ResolutionPresetRow*> rows_;
    std::vector<std::string> order_;
    QWidget* banner_ = nullptr;
    QLabel* detailText_ = nullptr;
};

}  // namespace dorvane
