#include "Dorvane/Settings/GeneralSettingsPage.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/SettingsMetrics.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/SettingsWindow/LoginItemChange.h"

namespace dorvane {

namespace {

template <typename E>
QStringList caseTitles() {
    QStringList titles;
    for (const E value : allCases<E>()) {
        const std::string_view text = title(value);
        titles << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    return titles;
}

template <typename E>
E caseAt(int index) {
    return allCases<E>().at(static_cast<std::size_t>(index));
}

SegmentedPicker* segmentedPicker(const QString& label, const QStringList& titles) {
    auto* picker = new SegmentedPicker(label, titles);
    picker->setFixedWidth(SettingsMetrics::segmentedPickerWidth);
    return picker;
}

}  // namespace

GeneralSettingsPage::GeneralSettingsPage(SettingsView& view) : view_(view) {
    auto* content = new QWidget;
    auto* column = settingsPageColumn(content);
    column->addWidget(settingsPageTitle(QStringLiteral("常规"), content));

    theme_ = segmentedPicker(QStringLiteral("主题"), caseTitles<AppTheme>());
    auto* themeCard = new SettingCard(content);
    auto* themeRow = new SettingRow(QStringLiteral("主题"), "circle.lefthalf.filled", theme_, themeCard);
    themeRow->setVerticalPadding(SettingsMetrics::themeRowVerticalPadding);
    themeCard->addRow(themeRow);
    column->addWidget(themeCard);

    launchAtLogin_ = new ToggleSwitch(QStringLiteral("开机启动"));
    auto* systemCard = new SettingCard(content);
    systemCard->addRow(new SettingRow(QStringLiteral("开机启动"), "bolt.badge.clock", launchAtLogin_, systemCard));
    column->addWidget(settingsSection(QStringLiteral("系统行为"), systemCard, SettingsMetrics::headingSpacing, content));

    whenConnected_ = new ToggleSwitch(QStringLiteral("远程连接时显示"));
    whenDisconnected_ = new ToggleSwitch(QStringLiteral("未连接时显示"));
    side_ = segmentedPicker(QStringLiteral("停靠位置"), caseTitles<ToolbarSide>());
    auto* toolbarCard = new SettingCard(content);
    toolbarCard->addRow(new SettingRow(QStringLiteral("远程连接时显示"), "sidebar.right", whenConnected_, toolbarCard));
    toolbarCard->addDivider();
    toolbarCard->addRow(new SettingRow(QStringLiteral("未连接时显示"), "display", whenDisconnected_, toolbarCard));
    toolbarCard->addDivider();
    toolbarCard->addRow(
        new SettingRow(QStringLiteral("停靠位置"), "arrow.up.and.down.and.arrow.left.and.right", side_, toolbarCard));
    column->addWidget(settingsSection(QStringLiteral("桌面工具条"), toolbarCard, SettingsMetrics::headingSpacing, content));

    auto* permission = new QWidget;
    auto* permissionLayout = new QHBoxLayout(permission);
    permissionLayout->setContentsMargins(0, 0, 0, 0);
    grant_ = new StyledButton(ButtonStyle::primary, ButtonSize::small, QStringLiteral("前往授权"), permission);
    granted_ = new TokenLabel(QStringLiteral("已授权"), DesignTokens::font(DesignTokens::fontBody, FontWeight::medium),
                              DesignTokens::Colors::textSecondary, permission);
    permissionLayout->addWidget(grant_);
    permissionLayout->addWidget(granted_);
    auto* permissionCard = new SettingCard(content);
    auto* permissionRow = new SettingRow(QStringLiteral("辅助功能"), "exclamationmark.triangle.fill", permission, permissionCard);
    permissionIcon_ = permissionRow->icon();
    permissionCard->addRow(permissionRow);
    column->addWidget(settingsSection(QStringLiteral("系统权限"), permissionCard, SettingsMetrics::headingSpacing, content));
    column->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(settingsScrollArea(content, this));

    ControlPanelModel& model = view_.model();
    theme_->onSelect = [&model](int index) { model.onTheme(caseAt<AppTheme>(index)); };
    launchAtLogin_->onChange = [this](bool on) { setLaunchAtLogin(on); };
    whenConnected_->onChange = [&model](bool on) { model.onToolbarWhenConnectedToggle(on); };
    whenDisconnected_->onChange = [&model](bool on) { model.onToolbarWhenDisconnectedToggle(on); };
    side_->onSelect = [&model](int index) { model.onToolbarSide(caseAt<ToolbarSide>(index)); };
    connect(grant_, &QAbstractButton::clicked, this, [this] { view_.requestAccessibility(); });
}

void GeneralSettingsPage::render() {
    const Preferences& preferences = view_.model().preferences();
    {
        const QSignalBlocker blockTheme(theme_);
        const QSignalBlocker blockConnected(whenConnected_);
        const QSignalBlocker blockDisconnected(whenDisconnected_);
        const QSignalBlocker blockSide(side_);
        theme_->setSelectedIndex(static_cast<int>(caseIndex(preferences.theme)));
        whenConnected_->setOn(preferences.toolbarWhenConnected);
        whenDisconnected_->setOn(preferences.toolbarWhenDisconnected);
        side_->setSelectedIndex(static_cast<int>(caseIndex(preferences.toolbarSide)));
    }
    renderLaunchAtLogin();
    const bool granted = view_.environment().permissions.accessibility();
    if (granted) {
        permissionIcon_->set("lock.shield.fill", DesignTokens::Colors::success);
    } else {
        permissionIcon_->set("exclamationmark.triangle.fill", DesignTokens::Colors::warning);
    }
    grant_->setVisible(!granted);
    granted_->setVisible(granted);
}

// The login items are not part of the settings: their status is read on every render.
void GeneralSettingsPage::renderLaunchAtLogin() {
    const QSignalBlocker block(launchAtLogin_);
    launchAtLogin_->setOn(view_.environment().loginItems.status() == system::LoginItemStatus::enabled);
}

void GeneralSettingsPage::setLaunchAtLogin(bool on) {
    system::LoginItems& items = view_.environment().loginItems;
    try {
        switch (loginItemChange(on, items.status() == system::LoginItemStatus::enabled)) {
            case LoginItemChange::registerItem: items.registerItem(); break;
            case LoginItemChange::unregisterItem: items.unregisterItem(); break;
            case LoginItemChange::none: break;
        }
    } catch (const FitError&) {
        // Dropped: the switch shows what the service now says.
    }
    // Nothing republishes a login item: show its status at once, worked or not.
    renderLaunchAtLogin();
}

}  // namespace dorvane
