#include "Dorvane/Settings/TouchSettingsPage.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

TouchSettingsPage::TouchSettingsPage(SettingsView& view) : view_(view) {
    auto* column = settingsPageColumn(this);
    column->addWidget(settingsPageTitle(QStringLiteral("触控"), this));
    touchScroll_ = new ToggleSwitch(QStringLiteral("单指滚动"));
    auto* card = new SettingCard(this);
    row_ = new SettingRow(QStringLiteral("单指滚动"), "hand.draw", touchScroll_, card);
    row_->setToolTip(QStringLiteral("单指滑动即滚动，按住约 0.4 秒再拖为拖动"));
    card->addRow(row_);
    column->addWidget(card);
    column->addStretch(1);
    ControlPanelModel& model = view_.model();
    touchScroll_->onChange = [&model](bool on) { model.onUUTouchScrollToggle(on); };
}

void TouchSettingsPage::render() {
    const QSignalBlocker block(touchScroll_);
    touchScroll_->setOn(view_.model().preferences().uuTouchScrollEnabled);
}

}  // namespace dorvane
