#include "Dorvane/Settings/QuickActionsSettingsPage.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/Settings/ApplicationShortcutsSettings.h"
#include "Dorvane/Settings/BuiltinIconSheet.h"
#include "Dorvane/Settings/OperationCardView.h"
#include "Dorvane/Settings/OperationDragController.h"
#include "Dorvane/Settings/OperationDragHandle.h"
#include "Dorvane/Settings/OperationGrid.h"
#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Settings/RecommendedPresetsView.h"
#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "DorvaneCore/Editors/ShortcutEditorModel.h"

namespace dorvane {

namespace {

// The content of an open sheet (the views here are not meta-object types of their own).
template <typename Content>
Content* contentOf(QDialog* dialog) {
    if (dialog == nullptr) return nullptr;
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* content = dynamic_cast<Content*>(child)) return content;
    }
    return nullptr;
}

}  // namespace

QuickActionsSettingsPage::QuickActionsSettingsPage(SettingsView& view) : view_(view) {
    auto* page = settingsPageColumn(this);
    page->addWidget(settingsPageTitle(QStringLiteral("快捷操作"), this));

    auto* content = new QWidget;
    auto* blocks = new QVBoxLayout(content);
    blocks->setContentsMargins(0, 0, 0, 0);
    blocks->setSpacing(QuickActionsMetrics::blockSpacing);

    windowControls_ = new ToggleSwitch(QStringLiteral("显示布局按钮"), ToggleSwitch::ControlSize::small);
    windowControls_->setToolTip(QStringLiteral("显示布局按钮"));
    auto* layoutCard = new SettingCard(content);
    layoutCard->addRow(new SettingRow(QStringLiteral("布局"), "rectangle.split.2x2", windowControls_, layoutCard));
    blocks->addWidget(layoutCard);

    auto* operations = new QVBoxLayout;
    operations->setSpacing(QuickActionsMetrics::sectionSpacing);
    auto* header = new QHBoxLayout;
    header->setSpacing(QuickActionsMetrics::headerSpacing);
    header->addWidget(settingsSectionHeading(QStringLiteral("全局操作"), content));
    header->addStretch(1);
    presets_ = new StyledButton(ButtonStyle::secondary, ButtonSize::small, QStringLiteral("常用快捷操作"), content);
    presets_->setSymbol("slider.horizontal.3");
    header->addWidget(presets_);
    addOperation_ = new StyledButton(ButtonStyle::primary, ButtonSize::small, QStringLiteral("添加操作"), content);
    addOperation_->setSymbol("plus");
    header->addWidget(addOperation_);
    operations->addLayout(header);
    grid_ = new OperationGrid(content);
    operations->addWidget(grid_);
    blocks->addLayout(operations);

    applications_ = new ApplicationShortcutsSettings(view_, content);
    blocks->addWidget(applications_);
    blocks->addStretch(1);
    scroll_ = settingsScrollArea(content, this);
    page->addWidget(scroll_, 1);

    ControlPanelModel& model = view_.model();
    windowControls_->onChange = [&model](bool on) { model.onWindowControlsToggle(on); };
    connect(presets_, &QAbstractButton::clicked, this, [this] { view_.setShowingPresetSheet(true); });
    connect(addOperation_, &QAbstractButton::clicked, this, [this] { addOperation(); });

    drag_ = std::make_unique<OperationDragController>(OperationDragController::Page{
        [this] { return view_.model().preferences().orderedOperations(); },
        [this](const OperationMove& move) { view_.model().onMoveOperations({move.index}, move.destination); },
        [this](std::optional<std::string> id) { view_.setDraggedOperationID(std::move(id)); },
        [this](const std::string& id) -> QWidget* { return card(id); },
        [this](const std::string& id) { return cardPicture(id); },
        [this](QPoint global) { return cardAt(global); },
        [this] { return view_.reduceMotion(); }});
}

QuickActionsSettingsPage::~QuickActionsSettingsPage() = default;

OperationCardView* QuickActionsSettingsPage::card(const std::string& operationID) const {
    const auto found = cards_.find(operationID);
    return found == cards_.end() ? nullptr : found->second;
}

std::vector<OperationCardView*> QuickActionsSettingsPage::shownCards() const {
    std::vector<OperationCardView*> shown;
    for (const auto& id : order_) shown.push_back(cards_.at(id));
    return shown;
}

OperationCardView* QuickActionsSettingsPage::makeCard(const std::string& operationID) {
    auto* made = new OperationCardView(grid_);
    ControlPanelModel& model = view_.model();
    made->onToggle = [made, &model](bool on) {
        const OperationCard& shown = made->card();
        if (shown.shortcut) {
            model.onShortcutToggle(shown.shortcut->id, on);
        } else if (shown.action) {
            model.onFloatingActionToggle(*shown.action, on);
        }
    };
    made->onEdit = [this, made] { edit(made->card()); };
    made->onStep = [this, made](OperationStep step) { moveOperation(made->card().id, step); };
    made->onResize = [this, operationID](QSize size) {
        view_.setOperationCardSize(operationID, OperationCardSize{static_cast<double>(size.width()),
                                                                  static_cast<double>(size.height())});
    };
    OperationDragHandle* grip = made->grip();
    grip->onPress = [this](const std::string& id, QPoint global) { drag_->press(id, global); };
    grip->onMove = [this](QPoint global) { drag_->moved(global); };
    grip->onRelease = [this](QPoint) { drag_->released(); };
    return made;
}

void QuickActionsSettingsPage::render() {
    const Preferences& preferences = view_.model().preferences();
    windowControls_->setOn(preferences.showWindowControls);

    const auto shown = operationCards(preferences);
    std::map<std::string, OperationCardView*> kept;
    std::vector<QWidget*> ordered;
    order_.clear();
    for (const auto& operation : shown) {
        OperationCardView* view = nullptr;
        if (auto found = cards_.find(operation.id); found != cards_.end()) {
            view = found->second;
            cards_.erase(found);
        } else {
            view = makeCard(operation.id);
        }
        view->render(operation);
        kept[operation.id] = view;
        ordered.push_back(view);
        order_.push_back(operation.id);
    }
    // An operation that is gone takes its card along (it cannot be dragged any more).
    for (const auto& [id, gone] : cards_) {
        if (view_.state().draggedOperationID == id) drag_->cancel();
        gone->hide();
        gone->deleteLater();
    }
    cards_ = std::move(kept);
    grid_->setCards(std::move(ordered), isVisible() && !view_.reduceMotion());
    applications_->render();
}

void QuickActionsSettingsPage::willShow() { applications_->startOver(); }

void QuickActionsSettingsPage::presentSheets() {
    const SettingsViewState& state = view_.state();
    SheetPresenter& sheets = view_.sheets();
    sheets.sheet(
        shortcutEditorSheet, state.editingShortcut ? std::optional(state.editingShortcut->id) : std::nullopt,
        [this] { return makeShortcutEditor(); }, [this] { view_.setEditingShortcut(std::nullopt); });
    sheets.sheet(
        builtinIconSheet,
        state.editingBuiltinIcon ? std::optional(std::string(rawValue(state.editingBuiltinIcon->action))) : std::nullopt,
        [this] { return makeIconSheet(); }, [this] { view_.setEditingBuiltinIcon(std::nullopt); });
    sheets.sheet(
        presetSheet, state.showingPresetSheet ? std::optional<std::string>("presets") : std::nullopt,
        [this] { return makePresetSheet(); }, [this] { view_.setShowingPresetSheet(false); });
    applications_->presentSheets();

    // The open sheets show the state as it is now.
    if (auto* sheet = contentOf<BuiltinIconSheet>(sheets.presented(builtinIconSheet))) {
        sheet->render(state.builtinIconSaveError);
    }
    if (auto* sheet = contentOf<RecommendedPresetsView>(sheets.presented(presetSheet))) sheet->render();
}

void QuickActionsSettingsPage::moveOperation(const std::string& operationID, OperationStep step) {
    const auto operations = view_.model().preferences().orderedOperations();
    if (const auto move = oneStepMove(operations, operationID, step)) {
        view_.model().onMoveOperations({move->index}, move->destination);
    }
}

// Editing a shortcut and adding one send keys for the user later: both wait for the
// Accessibility permission, and open the editor once it is granted (if the window still is).
void QuickActionsSettingsPage::addOperation() {
    SettingsPermissions& permissions = view_.environment().permissions;
    permissions.refresh();
    if (permissions.accessibility()) {
        view_.setEditingShortcut(ShortcutEditorModel::newShortcut());
        return;
    }
    permissions.setCompletion([view = QPointer<SettingsView>(&view_)] {
        if (view) view->setEditingShortcut(ShortcutEditorModel::newShortcut());
    });
    permissions.showGuide();
}

void QuickActionsSettingsPage::edit(const OperationCard& card) {
    if (card.action) {
        view_.setBuiltinIconSaveError(false);
        view_.setEditingBuiltinIcon(BuiltinIconDraft{*card.action});
        return;
    }
    if (!card.shortcut) return;
    const NamedShortcut shortcut = *card.shortcut;
    SettingsPermissions& permissions = view_.environment().permissions;
    permissions.refresh();
    if (permissions.accessibility()) {
        view_.setEditingShortcut(shortcut);
        return;
    }
    permissions.setCompletion([view = QPointer<SettingsView>(&view_), shortcut] {
        if (view) view->setEditingShortcut(shortcut);
    });
    permissions.showGuide();
}

std::unique_ptr<QWidget> QuickActionsSettingsPage::makeShortcutEditor() {
    const NamedShortcut shortcut = *view_.state().editingShortcut;
    ControlPanelModel& model = view_.model();
    ShortcutEditor::Callbacks callbacks;
    callbacks.onSave = [this, &model](const NamedShortcut& saved) {
        const bool stored = model.onSaveShortcut(saved);
        if (stored) view_.setEditingShortcut(std::nullopt);
        return stored;
    };
    callbacks.onCancel = [this] { view_.setEditingShortcut(std::nullopt); };
    // Only a shortcut stored when the sheet opens can be deleted from it.
    const auto& stored = model.preferences().namedShortcuts;
    if (std::ranges::find(stored, shortcut.id, &NamedShortcut::id) != stored.end()) {
        callbacks.onDelete = [this, &model, id = shortcut.id] {
            const bool deleted = model.onDeleteShortcut(id);
            if (deleted) view_.setEditingShortcut(std::nullopt);
            return deleted;
        };
    }
    const QPointer<SettingsView> view(&view_);
    return std::make_unique<ShortcutEditor>(
        shortcut, std::move(callbacks), view_.environment().editors,
        [view]() -> std::optional<double> {
            if (!view || view->window() == nullptr) return std::nullopt;
            return view->window()->height();
        },
        [view] { return view && view->reduceMotion(); });
}

std::unique_ptr<QWidget> QuickActionsSettingsPage::makeIconSheet() {
    const FloatingAction action = view_.state().editingBuiltinIcon->action;
    ControlPanelModel& model = view_.model();
    const QPointer<SettingsView> view(&view_);
    auto sheet = std::make_unique<BuiltinIconSheet>(
        action, builtinIconSelection(action, model.preferences()),
        [this, &model, action](ShortcutIcon icon) {
            if (model.onFloatingActionIcon(action, icon)) {
                view_.setEditingBuiltinIcon(std::nullopt);
            } else {
                view_.setBuiltinIconSaveError(true);
            }
        },
        [this] { view_.setEditingBuiltinIcon(std::nullopt); }, [view] { return view && view->reduceMotion(); });
    sheet->render(view_.state().builtinIconSaveError);
    return sheet;
}

std::unique_ptr<QWidget> QuickActionsSettingsPage::makePresetSheet() {
    return std::make_unique<RecommendedPresetsView>(view_.model(), view_.environment().permissions,
                                                    view_.environment().supportFolder,
                                                    [this] { view_.setShowingPresetSheet(false); });
}

// The card as big as it was last measured (or as an unmeasured card is taken to be).
QPixmap QuickActionsSettingsPage::cardPicture(const std::string& operationID) const {
    OperationCardView* shown = card(operationID);
    if (shown == nullptr) return {};
    const auto& sizes = view_.state().operationCardSizes;
    const auto measured = sizes.find(operationID);
    const OperationCardSize size = measured != sizes.end()
                                       ? measured->second
                                       : OperationCardSize{QuickActionsMetrics::unmeasuredCardWidth,
                                                           QuickActionsMetrics::unmeasuredCardHeight};
    return shown->grab(
        QRect(0, 0, static_cast<int>(size.width), static_cast<int>(size.height)));
}

std::optional<std::string> QuickActionsSettingsPage::cardAt(QPoint global) const {
    const auto slot = grid_->slotAt(grid_->mapFromGlobal(global));
    if (!slot || *slot >= order_.size()) return std::nullopt;
    return order_[*slot];
}

void QuickActionsSettingsPage::hideEvent(QHideEvent* event) {
    SettingsPageView::hideEvent(event);
    if (!event->spontaneous()) drag_->cancel();
}

}  // namespace dorvane
