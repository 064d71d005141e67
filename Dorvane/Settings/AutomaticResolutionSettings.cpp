#include "Dorvane/Settings/AutomaticResolutionSettings.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/SettingsMetrics.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "DorvaneCore/SettingsWindow/AutomaticResolutionChoice.h"

namespace dorvane {

namespace {

using Item = GlassDropdownItem<std::string>;

std::vector<Item> dropdownItems(const AutomaticResolutionChoice& choice) {
    std::vector<Item> items;
    items.reserve(choice.entries.size());
    for (const auto& entry : choice.entries) items.push_back(Item{entry.id, entry.title});
    return items;
}

SettingRow* switchRow(const QString& title, std::string_view symbol, ToggleSwitch*& toggle, QWidget* card) {
    toggle = new ToggleSwitch(title);
    return new SettingRow(title, symbol, toggle, card);
}

}  // namespace

AutomaticResolutionSettings::AutomaticResolutionSettings(ControlPanelModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    auto* sections = new QVBoxLayout(this);
    sections->setContentsMargins(0, 0, 0, 0);
    sections->setSpacing(SettingsMetrics::sectionStackSpacing);

    auto* resolution = new SettingCard(this);
    resolution->addRow(switchRow(QStringLiteral("连接时切换"), "display.trianglebadge.exclamationmark",
                                 switchOnConnect_, resolution));
    dropdownDivider_ = resolution->addDivider();
    const auto choice = AutomaticResolutionChoice::from(model_.preferences());
    dropdown_ = new GlassDropdown<std::string>(
        QStringLiteral("切换分辨率"), dropdownItems(choice), choice.selection,
        QString::fromUtf8(AutomaticResolutionChoice::placeholder.data(),
                          static_cast<qsizetype>(AutomaticResolutionChoice::placeholder.size())),
        DesignTokens::dropdownMinWidth, [this](const std::string& id) { choose(id); });
    dropdownRow_ = new QWidget(resolution);
    auto* dropdownLayout = new QHBoxLayout(dropdownRow_);
    dropdownLayout->setContentsMargins(SettingsMetrics::dividerIndent, SettingsMetrics::dropdownRowVerticalPadding,
                                       SettingsMetrics::rowHorizontalPadding,
                                       SettingsMetrics::dropdownRowVerticalPadding);
    dropdownLayout->setSpacing(SettingsMetrics::rowSpacing);
    dropdownLayout->addStretch(1);
    dropdownLayout->addWidget(dropdown_);
    resolution->addRow(dropdownRow_);
    restoreDivider_ = resolution->addDivider();
    resolution->addRow(switchRow(QStringLiteral("断开时还原"), "arrow.counterclockwise", restore_, resolution));
    sections->addWidget(settingsSection(QStringLiteral("分辨率"), resolution, SettingsMetrics::sectionSpacing, this));

    auto* windows = new SettingCard(this);
    windows->addRow(switchRow(QStringLiteral("远程时窗口自动铺满"), "arrow.up.left.and.arrow.down.right.square",
                              fillWindows_, windows));
    sections->addWidget(settingsSection(QStringLiteral("窗口"), windows, SettingsMetrics::sectionSpacing, this));

    auto* dock = new SettingCard(this);
    dock->addRow(switchRow(QStringLiteral("连接时显示"), "dock.rectangle", showDock_, dock));
    sections->addWidget(settingsSection(QStringLiteral("程序坞"), dock, SettingsMetrics::sectionSpacing, this));

    switchOnConnect_->onChange = [&model](bool on) { model.onAutoResolutionToggle(on); };
    restore_->onChange = [&model](bool on) { model.onAutoRestoreToggle(on); };
    fillWindows_->onChange = [&model](bool on) { model.onAutoFillWindowsToggle(on); };
    showDock_->onChange = [&model](bool on) { model.onAutoShowDockToggle(on); };
    render();
}

void AutomaticResolutionSettings::render() {
    const Preferences& preferences = model_.preferences();
    const auto choice = AutomaticResolutionChoice::from(preferences);
    const QSignalBlocker blockSwitch(switchOnConnect_);
    const QSignalBlocker blockDropdown(dropdown_);
    const QSignalBlocker blockRestore(restore_);
    const QSignalBlocker blockFill(fillWindows_);
    const QSignalBlocker blockDock(showDock_);
    switchOnConnect_->setOn(preferences.autoResolutionEnabled);
    auto items = dropdownItems(choice);
    if (items != dropdown_->items()) dropdown_->setItems(std::move(items));
    if (choice.selection != dropdown_->selection()) dropdown_->setSelection(choice.selection);
    dropdownDivider_->setVisible(preferences.autoResolutionEnabled);
    dropdownRow_->setVisible(preferences.autoResolutionEnabled);
    // A list left open while the window stops taking clicks would still take one.
    if (!isEnabled()) dropdown_->controller().close();
    restore_->setOn(preferences.autoRestoreOnDisconnect);
    fillWindows_->setOn(preferences.autoFillWindowsOnRemote);
    showDock_->setOn(preferences.autoShowDockOnConnect);
}

// Only a choice other than the one shown reaches the model.
void AutomaticResolutionSettings::choose(const std::string& id) {
    const auto choice = AutomaticResolutionChoice::from(model_.preferences());
    if (const auto stored = choice.presetToStore(id)) model_.onAutoResolutionPreset(*stored);
}

}  // namespace dorvane
