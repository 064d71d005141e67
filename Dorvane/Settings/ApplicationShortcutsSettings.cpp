#include "Dorvane/Settings/ApplicationShortcutsSettings.h"

#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Dorvane/Editors/QtShortcutFlowLayout.h"
#include "Dorvane/Editors/ShortcutApplicationPicker.h"
#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Visual/GlassMenu.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "DorvaneCore/Editors/ApplicationShortcutEdits.h"
#include "DorvaneCore/Editors/ShortcutEditorModel.h"
#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane {

namespace {

constexpr const char* kRetry = "请重试";

StyledButton* chipButton(const QString& text, std::string_view symbol, QWidget* parent) {
    auto* button = new StyledButton(ButtonStyle::secondary, ButtonSize::small, text, parent);
    button->setSymbol(symbol);
    button->setMinimumHeight(QuickActionsMetrics::chipMinimumHeight);
    return button;
}

void setChipOpacity(QWidget* chip, bool enabled) {
    if (enabled) {
        chip->setGraphicsEffect(nullptr);
        return;
    }
    if (qobject_cast<QGraphicsOpacityEffect*>(chip->graphicsEffect()) != nullptr) return;
    auto* dimmed = new QGraphicsOpacityEffect(chip);
    dimmed->setOpacity(QuickActionsMetrics::disabledChipOpacity);
    chip->setGraphicsEffect(dimmed);
}

}  // namespace

ApplicationCardView::ApplicationCardView(QWidget* parent)
    : RoundedFill(DesignTokens::Colors::card, DesignTokens::radiusMd, parent),
      menu_(std::make_unique<GlassMenu>(QStringLiteral("应用操作"))),
      chipMenu_(std::make_unique<GlassMenu>(QStringLiteral("操作"))) {
    auto* column = new QVBoxLayout(this);
    const int padding = QuickActionsMetrics::applicationCardPadding;
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(QuickActionsMetrics::applicationCardSpacing);
    auto* header = new QHBoxLayout;
    header->setSpacing(QuickActionsMetrics::applicationHeaderSpacing);
    icon_ = new QLabel(this);
    icon_->setFixedSize(QuickActionsMetrics::applicationIconSize, QuickActionsMetrics::applicationIconSize);
    header->addWidget(icon_);
    name_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                           DesignTokens::Colors::textPrimary, this);
    header->addWidget(name_);
    header->addStretch(1);
    menuButton_ = new PlainButton("ellipsis", QString(), DesignTokens::font(DesignTokens::fontBody),
                                  DesignTokens::Colors::textPrimary, this);
    menuButton_->setFixedSize(QuickActionsMetrics::applicationButtonWidth, QuickActionsMetrics::applicationButtonHeight);
    menuButton_->setToolTip(QStringLiteral("应用操作"));
    menuButton_->setAccessibleName(QStringLiteral("应用操作"));
    header->addWidget(menuButton_);
    chevron_ = new PlainButton("chevron.down", QString(), DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium),
                               DesignTokens::Colors::textSecondary, this);
    chevron_->setFixedSize(QuickActionsMetrics::applicationButtonWidth, QuickActionsMetrics::applicationButtonHeight);
    header->addWidget(chevron_);
    column->addLayout(header);

    flow_ = new QWidget(this);
    flowLayout_ = new QtShortcutFlowLayout(flow_);
    addShortcut_ = chipButton(QStringLiteral("添加操作"), "plus", flow_);
    flowLayout_->addWidget(addShortcut_);
    column->addWidget(flow_);

    connect(menuButton_, &QAbstractButton::clicked, this, [this] {
        menu_->popup(*menuButton_, {{QStringLiteral("移除应用"), true, [this] {
                                         if (const auto remove = onRemove) remove();
                                     }}});
    });
    connect(chevron_, &QAbstractButton::clicked, this, [this] {
        if (const auto toggle = onToggleCollapsed) toggle();
    });
    connect(addShortcut_, &QAbstractButton::clicked, this, [this] {
        if (const auto add = onAddShortcut) add();
    });
}

ApplicationCardView::~ApplicationCardView() = default;

QAbstractButton* ApplicationCardView::chevron() const { return chevron_; }

StyledButton* ApplicationCardView::chip(const std::string& shortcutID) const {
    const auto found = chips_.find(shortcutID);
    return found == chips_.end() ? nullptr : found->second;
}

std::vector<StyledButton*> ApplicationCardView::shownChips() const {
    std::vector<StyledButton*> shown;
    for (int i = 0; i < flowLayout_->count(); ++i) {
        auto* chip = dynamic_cast<StyledButton*>(flowLayout_->itemAt(i)->widget());
        if (chip != nullptr && chip != addShortcut_ && !chip->isHidden()) shown.push_back(chip);
    }
    return shown;
}

void ApplicationCardView::render(const ApplicationShortcuts& application, bool collapsed, bool animated,
                                 const QString& iconPath) {
    if (icon_->pixmap().isNull() || iconPath != iconPath_ || application.name != application_.name) {
        iconPath_ = iconPath;
        // The picture shown stays until the new one is read, off the main thread; the
        // lettered square stands in before there is any.
        const QString name = QString::fromStdString(application.name);
        const double size = QuickActionsMetrics::applicationIconSize;
        if (icon_->pixmap().isNull()) icon_->setPixmap(applicationIconStandIn(name, size, devicePixelRatioF()));
        loadApplicationIcon(iconPath, name, size, devicePixelRatioF(), this,
                            [this, request = ++iconRequest_](const QPixmap& picture) {
                                if (request == iconRequest_) icon_->setPixmap(picture);
                            });
    }
    application_ = application;
    name_->setText(QString::fromStdString(application.name));
    chevron_->setSymbol(collapsed ? "chevron.right" : "chevron.down");
    chevron_->setAccessibleName(qtText(chevronAccessibleName(application, collapsed)));

    std::map<std::string, StyledButton*> kept;
    int index = 0;
    for (const auto& shortcut : application.shortcuts) {
        StyledButton* chip = nullptr;
        if (auto found = chips_.find(shortcut.id); found != chips_.end()) {
            chip = found->second;
            chips_.erase(found);
        } else {
            chip = chipButton(QString(), "", flow_);
            chip->setContextMenuPolicy(Qt::CustomContextMenu);
            const std::string id = shortcut.id;
            connect(chip, &QAbstractButton::clicked, this, [this, id] {
                if (const auto edit = onEdit) edit(id);
            });
            connect(chip, &QWidget::customContextMenuRequested, this, [this, chip, id] { showChipMenu(id, *chip); });
            flowLayout_->addWidget(chip);
        }
        chip->setText(QString::fromStdString(shortcut.name));
        chip->setSymbol(rawValue(shortcut.icon));
        chip->setToolTip(QString::fromStdString(shortcut.key.displayLabel()));
        setChipOpacity(chip, shortcut.enabled);
        chip->updateGeometry();
        flowLayout_->moveWidget(chip, index++);
        kept[shortcut.id] = chip;
    }
    for (const auto& [id, gone] : chips_) {
        flowLayout_->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    chips_ = std::move(kept);
    flowLayout_->moveWidget(addShortcut_, flowLayout_->count() - 1);
    setVisibleFading(flow_, !collapsed, animated, DesignTokens::foldDuration);
}

void ApplicationCardView::showChipMenu(const std::string& shortcutID, QWidget& chip) {
    const auto found = std::ranges::find(application_.shortcuts, shortcutID, &NamedShortcut::id);
    if (found == application_.shortcuts.end()) return;
    chipMenu_->setLabel(QString::fromStdString(found->name));
    chipMenu_->popup(chip, {{qtText(enablementMenuTitle(*found)), false, [this, shortcutID] {
                                 if (const auto toggle = onToggleEnabled) toggle(shortcutID);
                             }}});
}

ApplicationShortcutsSettings::ApplicationShortcutsSettings(SettingsView& view, QWidget* parent)
    : QWidget(parent), view_(view) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(QuickActionsMetrics::sectionSpacing);
    auto* header = new QHBoxLayout;
    header->addWidget(new TokenLabel(QStringLiteral("应用快捷操作"),
                                     DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                                     DesignTokens::Colors::textPrimary, this));
    header->addStretch(1);
    switch_ = new ToggleSwitch(QStringLiteral("显示应用快捷操作"), ToggleSwitch::ControlSize::small, this);
    switch_->setToolTip(QStringLiteral("显示应用快捷操作"));
    header->addWidget(switch_);
    column->addLayout(header);
    cardsLayout_ = new QVBoxLayout;
    cardsLayout_->setSpacing(QuickActionsMetrics::sectionSpacing);
    column->addLayout(cardsLayout_);
    addApplication_ = new StyledButton(ButtonStyle::secondary, ButtonSize::small, QStringLiteral("添加应用"), this);
    addApplication_->setSymbol("plus");
    column->addWidget(addApplication_, 0, Qt::AlignLeft);

    switch_->onChange = [this](bool on) {
        if (!save(list(), on)) refresh();
    };
    connect(addApplication_, &QAbstractButton::clicked, this, [this] {
        choosingApplication_ = true;
        refresh();
    });
    // Coming back to the program may follow a move of an application in the file manager.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && isVisible()) lookUpLocations();
    });
    render();
}

const std::vector<ApplicationShortcuts>& ApplicationShortcutsSettings::list() const {
    return view_.model().preferences().applicationShortcuts;
}

ApplicationCardView* ApplicationShortcutsSettings::card(const std::string& bundleID) const {
    const auto found = cards_.find(bundleID);
    return found == cards_.end() ? nullptr : found->second;
}

std::vector<ApplicationCardView*> ApplicationShortcutsSettings::shownCards() const {
    std::vector<ApplicationCardView*> shown;
    for (int i = 0; i < cardsLayout_->count(); ++i) {
        if (auto* card = dynamic_cast<ApplicationCardView*>(cardsLayout_->itemAt(i)->widget())) shown.push_back(card);
    }
    return shown;
}

void ApplicationShortcutsSettings::refresh() {
    render();
    presentSheets();
}

void ApplicationShortcutsSettings::render() {
    renderCards();
    // Asked again at every render: an application may have moved while the page was open.
    lookUpLocations();
}

void ApplicationShortcutsSettings::renderCards() {
    const Preferences& preferences = view_.model().preferences();
    switch_->setOn(preferences.applicationShortcutsEnabled);
    const bool animated = !view_.reduceMotion();
    workspace::InstalledApplications* installed = view_.environment().editors.installedApplications;
    std::map<std::string, ApplicationCardView*> kept;
    while (cardsLayout_->count() > 0) delete cardsLayout_->takeAt(0);  // the items, not the cards
    for (const auto& application : preferences.applicationShortcuts) {
        ApplicationCardView* card = nullptr;
        if (auto found = cards_.find(application.bundleID); found != cards_.end()) {
            card = found->second;
            cards_.erase(found);
        } else {
            card = new ApplicationCardView(this);
            const std::string id = application.bundleID;
            card->onRemove = [this, card] {
                deletingApplication_ = card->application();
                refresh();
            };
            card->onToggleCollapsed = [this, id] {
                if (!collapsed_.erase(id)) collapsed_.insert(id);
                refresh();
            };
            card->onAddShortcut = [this, card] { addShortcut(card->application()); };
            card->onEdit = [this, id](const std::string& shortcutID) {
                const auto* application = findApplication(list(), id);
                if (application == nullptr) return;
                const auto shortcut = std::ranges::find(application->shortcuts, shortcutID, &NamedShortcut::id);
                if (shortcut == application->shortcuts.end()) return;
                editing_ = EditDraft{id, *shortcut};
                refresh();
            };
            card->onToggleEnabled = [this, id](const std::string& shortcutID) {
                const auto* application = findApplication(list(), id);
                if (application == nullptr) return;
                if (const auto toggled = withToggledShortcut(*application, shortcutID)) saveGroup(*toggled);
            };
        }
        const QString iconPath =
            installed != nullptr ? QString::fromStdString(installed->iconFile(applicationLocation(application)).string())
                                 : QString();
        card->render(application, collapsed_.contains(application.bundleID), animated, iconPath);
        cardsLayout_->addWidget(card);
        kept[application.bundleID] = card;
    }
    for (const auto& [id, gone] : cards_) {
        gone->hide();
        gone->deleteLater();
    }
    cards_ = std::move(kept);
}

void ApplicationShortcutsSettings::startOver() {
    collapsed_.clear();
    locations_.clear();
    lookingUp_.clear();
    ++lookUpGeneration_;  // answers to earlier questions are dropped
}

std::string ApplicationShortcutsSettings::applicationLocation(const ApplicationShortcuts& application) const {
    const auto found = locations_.find(application.bundleID);
    return found != locations_.end() && found->second ? *found->second : application.path;
}

void ApplicationShortcutsSettings::lookUpLocations() {
    const EditorServices& services = view_.environment().editors;
    if (services.installedApplications == nullptr || services.mainQueue == nullptr || services.scanQueue == nullptr) {
        return;
    }
    std::vector<std::string> identifiers;
    for (const auto& application : list()) {
        const std::string& id = application.bundleID;
        // The answer known so far stays on show until the new one comes.
        if (!lookingUp_.insert(id).second) continue;
        identifiers.push_back(id);
    }
    if (identifiers.empty()) return;
    // A look-up that failed finds nothing: the stored paths stay.
    dispatch::spawn(*services.mainQueue,
                    lookUp(QPointer<ApplicationShortcutsSettings>(this), lookUpGeneration_,
                           services.installedApplications, services.scanQueue, std::move(identifiers)),
                    [settings = QPointer<ApplicationShortcutsSettings>(this), generation = lookUpGeneration_](
                        std::exception_ptr) {
                        if (settings) settings->finishLookUp(generation, {});
                    });
}

dispatch::Task<void> ApplicationShortcutsSettings::lookUp(QPointer<ApplicationShortcutsSettings> settings,
                                                          std::uint64_t generation,
                                                          workspace::InstalledApplications* installed,
                                                          dispatch::Executor* queue,
                                                          std::vector<std::string> identifiers) {
    auto work = [installed, identifiers = std::move(identifiers)] {
        std::map<std::string, std::optional<std::string>> found;
        for (const auto& id : identifiers) found[id] = installed->applicationPath(id);
        return found;
    };
    std::map<std::string, std::optional<std::string>> found;
    try {
        found = co_await dispatch::runOn(*queue, std::move(work));
    } catch (const std::exception&) {
        // Nothing could be read: the stored paths stay.
    }
    if (!settings) co_return;
    settings->finishLookUp(generation, std::move(found));
}

void ApplicationShortcutsSettings::finishLookUp(std::uint64_t generation,
                                                std::map<std::string, std::optional<std::string>> found) {
    if (generation != lookUpGeneration_) return;
    for (auto& [id, location] : found) {
        lookingUp_.erase(id);
        locations_[id] = std::move(location);
    }
    renderCards();
}

void ApplicationShortcutsSettings::presentSheets() {
    SheetPresenter& sheets = view_.sheets();
    sheets.sheet(
        pickerSheet, choosingApplication_ ? std::optional<std::string>("picker") : std::nullopt,
        [this] { return makePicker(); },
        [this] {
            choosingApplication_ = false;
            refresh();
        });
    sheets.sheet(
        editorSheet, editing_ ? std::optional(editing_->identity()) : std::nullopt,
        [this] { return makeEditor(*editing_); },
        [this] {
            editing_.reset();
            refresh();
        });

    std::vector<SheetPresenter::AlertAction> removal;
    if (deletingApplication_) {
        removal = {{QStringLiteral("取消"), SheetAlert::Role::cancel, {}},
                   {QStringLiteral("移除"), SheetAlert::Role::destructive,
                    [this, id = deletingApplication_->bundleID] { remove(id); }}};
    }
    sheets.alert(removalAlert, deletingApplication_ ? std::optional(deletingApplication_->bundleID) : std::nullopt,
                 deletingApplication_ ? qtText(removalAlertTitle(*deletingApplication_)) : QString(), QString(),
                 std::move(removal), [this] {
                     deletingApplication_.reset();
                     refresh();
                 });

    std::vector<SheetPresenter::AlertAction> acknowledge;
    if (error_) acknowledge = {{QStringLiteral("好"), SheetAlert::Role::normal, {}}};
    sheets.alert(failureAlert, error_, QStringLiteral("保存失败"), error_ ? QString::fromStdString(*error_) : QString(),
                 std::move(acknowledge), [this] {
                     error_.reset();
                     refresh();
                 });
}

bool ApplicationShortcutsSettings::save(const std::vector<ApplicationShortcuts>& list, bool enabled) {
    const QPointer<ApplicationShortcutsSettings> alive(this);
    const bool saved = view_.model().onSaveApplicationShortcuts(list, enabled);
    if (!alive) return saved;
    if (!saved) {
        error_ = kRetry;
        refresh();
    }
    return saved;
}

bool ApplicationShortcutsSettings::saveGroup(const ApplicationShortcuts& group) {
    return save(savingGroup(list(), group), view_.model().preferences().applicationShortcutsEnabled);
}

void ApplicationShortcutsSettings::addShortcut(const ApplicationShortcuts& application) {
    collapsed_.erase(application.bundleID);
    editing_ = EditDraft{application.bundleID, ShortcutEditorModel::newShortcut()};
    refresh();
}

void ApplicationShortcutsSettings::remove(const std::string& bundleID) {
    save(removingApplication(list(), bundleID), view_.model().preferences().applicationShortcutsEnabled);
}

void ApplicationShortcutsSettings::log(std::string_view line) const {
    if (const auto& write = view_.environment().editors.log) {
        write(line);
    } else {
        OperationDiagnostics::write(line);
    }
}

std::unique_ptr<QWidget> ApplicationShortcutsSettings::makeEditor(const EditDraft& draft) {
    const std::string bundleID = draft.bundleID;
    const std::string shortcutID = draft.shortcut.id;
    ShortcutEditor::Callbacks callbacks;
    callbacks.onSave = [this, bundleID](const NamedShortcut& saved) {
        const auto updated = withSavedShortcut(list(), bundleID, saved);
        if (!updated) {
            log(missingApplicationLogLine(bundleID));
            return false;
        }
        if (!saveGroup(*updated)) return false;
        editing_.reset();
        refresh();
        return true;
    };
    callbacks.onCancel = [this] {
        editing_.reset();
        refresh();
    };
    if (editorOffersDelete(list(), bundleID, shortcutID)) {
        callbacks.onDelete = [this, bundleID, shortcutID] {
            const auto updated = withoutShortcut(list(), bundleID, shortcutID);
            if (!updated || !saveGroup(*updated)) return false;
            editing_.reset();
            refresh();
            return true;
        };
    }
    const QPointer<SettingsView> view(&view_);
    return std::make_unique<ShortcutEditor>(
        draft.shortcut, std::move(callbacks), view_.environment().editors,
        [view]() -> std::optional<double> {
            if (!view || view->window() == nullptr) return std::nullopt;
            return view->window()->height();
        },
        [view] { return view && view->reduceMotion(); });
}

std::unique_ptr<QWidget> ApplicationShortcutsSettings::makePicker() {
    const QPointer<SettingsView> view(&view_);
    return std::make_unique<ShortcutApplicationPicker>(
        listedBundleIDs(list()),
        [this](const ApplicationShortcuts& application) {
            if (!saveGroup(application)) return false;
            choosingApplication_ = false;
            refresh();
            return true;
        },
        [this] {
            choosingApplication_ = false;
            refresh();
        },
        view_.environment().editors, [view] { return view && view->reduceMotion(); });
}

}  // namespace dorvane
