#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QPointer>
#include <QWidget>

#include "Dorvane/Settings/SettingsEnvironment.h"
#include "Dorvane/Settings/SettingsViewState.h"
#include "Dorvane/Settings/SheetPresenter.h"
#include "Platform/Dispatch/Observation.h"

class QPropertyAnimation;
class QStackedWidget;

namespace dorvane {

class ControlPanelModel;
class SettingsPageView;
class SettingsSidebar;
class WindowDragScroll;

// The settings window's root view: the sidebar, a one-point separator and the selected page,
// on the page background. It owns the window's view state (the page, what the sheets and
// the deletion alert present), renders the sidebar, the shown page and the sheets again
// whenever the panel model publishes, the permission changes or the view state is set, and
// ignores every click while a display operation runs or the program quits. While it is on
// screen the permission tracker polls; coming back to the program refreshes it once more.
//
// Pages reach the model and the services through it and change the view state only through
// its setters; sheets are presented through sheets().
class SettingsView final : public QWidget {
public:
    // Slots of the sheets this view presents itself.
    static constexpr const char* draftSheet = "draft";
    static constexpr const char* deletionAlert = "deletion";

    // Opened with `startNew`, the view starts on the resolution page with a new custom
    // preset in the editor, whatever `page` says.
    SettingsView(ControlPanelModel& model, bool startNew, SettingsPage page, SettingsEnvironment environment,
                 QWidget* parent = nullptr);
    ~SettingsView() override;

    ControlPanelModel& model() const { return model_; }
    const SettingsEnvironment& environment() const { return environment_; }
    const SettingsViewState& state() const { return state_; }
    SheetPresenter& sheets() { return sheets_; }

    // Each sets one member of the view state and renders what follows from it.
    void setPage(SettingsPage page);
    void setDraft(std::optional<SpecDraft> draft);
    void setEditingShortcut(std::optional<NamedShortcut> shortcut);
    void setEditingBuiltinIcon(std::optional<BuiltinIconDraft> draft);
    void setBuiltinIconSaveError(bool error);
    void setShowingPresetSheet(bool showing);
    void setShowingDeviceTemplates(bool showing);
    void setPendingDeletion(std::optional<DeletionTarget> target);
    void setDraggedOperationID(std::optional<std::string> id);
    // A card's measured size; only recorded (measuring must not re-render).
    void setOperationCardSize(const std::string& id, OperationCardSize size);

    // The content of the custom-preset editor sheet for a draft; until it is given, a draft
    // opens no sheet.
    void setSpecEditor(std::function<std::unique_ptr<QWidget>(const SpecDraft&)> build);

    // What the sidebar warning and the general page's "前往授权" do: read the permission
    // again and, while it is still missing, open the guide with nothing to run afterwards.
    void requestAccessibility();

    // Whether the animations are left out now.
    bool reduceMotion() const;

    SettingsSidebar* sidebar() const { return sidebar_; }
    // The shown page.
    SettingsPageView* currentPage() const;
    // Everything that ignores clicks while disabled: sidebar, separator and pages.
    QWidget* frame() const { return frame_; }

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SettingsPageView* pageView(SettingsPage page);
    std::unique_ptr<SettingsPageView> makePage(SettingsPage page);
    void showPage(bool animated);
    void render();
    void presentSheets();

    ControlPanelModel& model_;
    SettingsEnvironment environment_;
    SettingsViewState state_;
    SheetPresenter sheets_;
    std::function<std::unique_ptr<QWidget>(const SpecDraft&)> specEditor_;
    QWidget* frame_;
    SettingsSidebar* sidebar_;
    QStackedWidget* pages_;
    std::map<SettingsPage, SettingsPageView*> built_;
    QPointer<QPropertyAnimation> pageFade_;
    bool onScreen_ = false;
    dispatch::Observation permissionChanges_;
    // A finger's vertical drag scrolls the page under it.
    std::unique_ptr<WindowDragScroll> dragScroll_;
};

}  // namespace dorvane
