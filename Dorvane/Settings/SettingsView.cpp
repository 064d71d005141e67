#include "Dorvane/Settings/SettingsView.h"

#include <QGraphicsOpacityEffect>
#include <QShowEvent>
#include <QHideEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPropertyAnimation>
#include <QStackedWidget>

#include "Dorvane/InputViews/WindowDragScroll.h"
#include "Dorvane/Settings/ConnectionSettingsPage.h"
#include "Dorvane/Settings/GeneralSettingsPage.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/ResolutionSettingsPage.h"
#include "Dorvane/Settings/SettingsSidebar.h"
#include "Dorvane/Settings/TitledSettingsPage.h"
#include "Dorvane/Settings/TouchSettingsPage.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/SettingsMetrics.h"
#include "Dorvane/Visual/VisualAppearance.h"

#ifndef CORVELLE_VERSION
#define CORVELLE_VERSION ""
#endif

namespace dorvane {

SettingsView::SettingsView(ControlPanelModel& model, bool startNew, SettingsPage page,
                           SettingsEnvironment environment, QWidget* parent)
    : QWidget(parent), model_(model), environment_(std::move(environment)), sheets_(*this) {
    const auto start = SettingsWindowStart::make(model_.preferences(), startNew, page);
    state_.page = start.page;
    state_.draft = start.draft;
    setMinimumSize(SettingsMetrics::minimumWidth, SettingsMetrics::minimumHeight);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    frame_ = new QWidget(this);
    outer->addWidget(frame_);
    auto* row = new QHBoxLayout(frame_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    sidebar_ = new SettingsSidebar(
        QString::fromStdString(settingsVersionLine(CORVELLE_VERSION)), [this](SettingsPage chosen) { setPage(chosen); },
        [this] { requestAccessibility(); }, frame_);
    row->addWidget(sidebar_);
    row->addWidget(new SettingsSeparator(Qt::Vertical, frame_));
    pages_ = new QStackedWidget(frame_);
    row->addWidget(pages_, 1);

    connect(&model_, &ControlPanelModel::changed, this, [this] { render(); });
    permissionChanges_ = environment_.permissions.observe([this] { render(); });
    // Coming back to the program may follow a visit to the system's settings.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) environment_.permissions.refresh();
    });
    DesignTokens::repaintOnAppearanceChange(this);
    dragScroll_ = std::make_unique<WindowDragScroll>(this);
    showPage(false);
    render();
}

SettingsView::~SettingsView() {
    permissionChanges_.cancel();
    sheets_.closeAll();
}

QSize SettingsView::sizeHint() const { return QSize(SettingsMetrics::windowWidth, SettingsMetrics::windowHeight); }

bool SettingsView::reduceMotion() const {
    return environment_.reduceMotion ? environment_.reduceMotion() : VisualAppearance::shared().reduceMotion();
}

SettingsPageView* SettingsView::currentPage() const {
    const auto found = built_.find(state_.page);
    return found == built_.end() ? nullptr : found->second;
}

std::unique_ptr<SettingsPageView> SettingsView::makePage(SettingsPage page) {
    switch (page) {
        case SettingsPage::general: return std::make_unique<GeneralSettingsPage>(*this);
        case SettingsPage::connection: return std::make_unique<ConnectionSettingsPage>(*this);
        case SettingsPage::touch: return std::make_unique<TouchSettingsPage>(*this);
        case SettingsPage::resolution: return std::make_unique<ResolutionSettingsPage>(*this);
        case SettingsPage::floating: return std::make_unique<QuickActionsSettingsPage>(*this);
    }
    return std::make_unique<TitledSettingsPage>(QString());
}

// Pages are built the first time they are shown and kept: they hold no state of their own.
SettingsPageView* SettingsView::pageView(SettingsPage page) {
    if (const auto found = built_.find(page); found != built_.end()) return found->second;
    SettingsPageView* view = makePage(page).release();
    pages_->addWidget(view);
    built_[page] = view;
    return view;
}

void SettingsView::showPage(bool animated) {
    SettingsPageView* view = pageView(state_.page);
    view->render();
    if (pageFade_) pageFade_->stop();
    pages_->setCurrentWidget(view);
    if (!animated || reduceMotion()) return;
    // The new page fades in; the effect goes once it is opaque, so it costs nothing later.
    auto* fade = new QGraphicsOpacityEffect(view);
    view->setGraphicsEffect(fade);
    auto* animation = new QPropertyAnimation(fade, "opacity", fade);
    animation->setDuration(static_cast<int>(DesignTokens::pageSwitchDuration * 1000));
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(animation, &QPropertyAnimation::finished, view, [view] { view->setGraphicsEffect(nullptr); });
    connect(animation, &QObject::destroyed, view, [view, fade] {
        if (view->graphicsEffect() == fade) view->setGraphicsEffect(nullptr);
    });
    pageFade_ = animation;
    animation->start();
}

void SettingsView::render() {
    frame_->setEnabled(!(model_.applying() || model_.terminating()));
    sidebar_->render(state_.page, environment_.permissions.accessibility());
    if (SettingsPageView* shown = currentPage()) shown->render();
    presentSheets();
}

// Sheets open over the window only while it is on screen. Hiding the window (ordered out,
// closed) keeps them open, with whatever was typed, for its return; what the view state came
// to hold meanwhile is presented then.
void SettingsView::presentSheets() {
    if (!onScreen_) return;
    const auto& draft = state_.draft;
    const bool editorGiven = static_cast<bool>(specEditor_);
    sheets_.sheet(
        draftSheet, draft && editorGiven ? std::optional(draft->id) : std::nullopt,
        [this] { return specEditor_(*state_.draft); }, [this] { setDraft(std::nullopt); });

    const auto& target = state_.pendingDeletion;
    std::optional<std::string> deletion;
    if (target) deletion = target->id + "\n" + target->title;
    std::vector<SheetPresenter::AlertAction> actions;
    if (target) {
        actions = {{QStringLiteral("取消"), SheetAlert::Role::cancel, {}},
                   {QStringLiteral("删除"), SheetAlert::Role::destructive,
                    [this, id = target->id] { model_.onDeleteCustom(id); }}};
    }
    sheets_.alert(deletionAlert, deletion, target ? QString::fromStdString(target->alertTitle()) : QString(), QString(),
                  std::move(actions), [this] { setPendingDeletion(std::nullopt); });

    for (const auto& [page, view] : built_) view->presentSheets();
}

void SettingsView::setPage(SettingsPage page) {
    if (page == state_.page) return;
    state_.page = page;
    sidebar_->render(state_.page, environment_.permissions.accessibility());
    pageView(page)->willShow();
    showPage(true);
}

void SettingsView::setDraft(std::optional<SpecDraft> draft) {
    state_.draft = std::move(draft);
    render();
}

void SettingsView::setEditingShortcut(std::optional<NamedShortcut> shortcut) {
    state_.editingShortcut = std::move(shortcut);
    render();
}

void SettingsView::setEditingBuiltinIcon(std::optional<BuiltinIconDraft> draft) {
    state_.editingBuiltinIcon = draft;
    render();
}

void SettingsView::setBuiltinIconSaveError(bool error) {
    state_.builtinIconSaveError = error;
    render();
}

void SettingsView::setShowingPresetSheet(bool showing) {
    state_.showingPresetSheet = showing;
    render();
}

void SettingsView::setShowingDeviceTemplates(bool showing) {
    state_.showingDeviceTemplates = showing;
    render();
}

void SettingsView::setPendingDeletion(std::optional<DeletionTarget> target) {
    state_.pendingDeletion = std::move(target);
    render();
}

void SettingsView::setDraggedOperationID(std::optional<std::string> id) {
    state_.draggedOperationID = std::move(id);
    render();
}

void SettingsView::setOperationCardSize(const std::string& id, OperationCardSize size) {
    state_.operationCardSizes[id] = size;
}

void SettingsView::setSpecEditor(std::function<std::unique_ptr<QWidget>(const SpecDraft&)> build) {
    specEditor_ = std::move(build);
    presentSheets();
}

void SettingsView::requestAccessibility() {
    SettingsPermissions& permissions = environment_.permissions;
    permissions.refresh();
    if (permissions.accessibility()) return;
    // An earlier opener's pending action is dropped: granting from here only closes the guide.
    permissions.setCompletion([] {});
    permissions.showGuide();
}

// Only the window's own showing and hiding count: the window system's (a minimised window)
// leaves the polling as it is. No hiding closes a sheet.
void SettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    environment_.permissions.startMonitoring();
    if (onScreen_) return;
    onScreen_ = true;
    presentSheets();
}

void SettingsView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous()) return;
    environment_.permissions.stopMonitoring();
    onScreen_ = false;
}

void SettingsView::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).fillRect(rect(), DesignTokens::Colors::pageBackground.resolved());
}

}  // namespace dorvane
