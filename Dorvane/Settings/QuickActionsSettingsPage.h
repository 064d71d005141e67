#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Dorvane/Settings/SettingsPageView.h"
#include "DorvaneCore/QuickActions/OperationCard.h"
#include "DorvaneCore/QuickActions/OperationMoves.h"

class QScrollArea;

namespace dorvane {

class ApplicationShortcutsSettings;
class OperationCardView;
class OperationDragController;
class OperationGrid;
class SettingsView;
class StyledButton;
class ToggleSwitch;

// "快捷操作": the switch for the toolbar's layout button, the toolbar's operations as cards
// in the toolbar's order (switched on or off, dragged or moved one place by assistive
// technology, a named shortcut edited, a built-in action given another icon), the buttons
// "常用快捷操作" and "添加操作", and the per-application shortcut lists. Cards are kept by
// operation id: a republish moves them and never rebuilds one. Opens the shortcut editor,
// the icon sheet and the recommended-shortcut sheet from the window's view state.
class QuickActionsSettingsPage final : public SettingsPageView {
public:
    static constexpr const char* shortcutEditorSheet = "shortcut-editor";
    static constexpr const char* builtinIconSheet = "builtin-icon";
    static constexpr const char* presetSheet = "recommended-presets";

    explicit QuickActionsSettingsPage(SettingsView& view);
    ~QuickActionsSettingsPage() override;

    void render() override;
    void presentSheets() override;
    void willShow() override;

    // "前移" and "后移": one place, none past either end.
    void moveOperation(const std::string& operationID, OperationStep step);
    // "添加操作": the editor on a new shortcut, once the Accessibility permission is there.
    void addOperation();

    ToggleSwitch* windowControlsSwitch() const { return windowControls_; }
    StyledButton* presetsButton() const { return presets_; }
    StyledButton* addOperationButton() const { return addOperation_; }
    QScrollArea* scrollArea() const { return scroll_; }
    OperationGrid* grid() const { return grid_; }
    OperationCardView* card(const std::string& operationID) const;
    // The cards in the order shown.
    std::vector<OperationCardView*> shownCards() const;
    OperationDragController& drag() const { return *drag_; }
    ApplicationShortcutsSettings* applications() const { return applications_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    OperationCardView* makeCard(const std::string& operationID);
    void edit(const OperationCard& card);
    std::unique_ptr<QWidget> makeShortcutEditor();
    std::unique_ptr<QWidget> makeIconSheet();
    std::unique_ptr<QWidget> makePresetSheet();
    QPixmap cardPicture(const std::string& operationID) const;
    std::optional<std::string> cardAt(QPoint global) const;

    SettingsView& view_;
    ToggleSwitch* windowControls_;
    StyledButton* presets_;
    StyledButton* addOperation_;
    QScrollArea* scroll_;
    OperationGrid* grid_;
    std::map<std::string, OperationCardView*> cards_;
    std::vector<std::string> order_;
    ApplicationShortcutsSettings* applications_;
    std::unique_ptr<OperationDragController> drag_;
};

}  // namespace dorvane
