#include "Dorvane/Settings/ConnectionSettingsPage.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Settings/AutomaticResolutionSettings.h"
#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

ConnectionSettingsPage::ConnectionSettingsPage(SettingsView& view) {
    auto* column = settingsPageColumn(this);
    column->addWidget(settingsPageTitle(QStringLiteral("连接自动化"), this));
    auto* content = new QWidget;
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    settings_ = new AutomaticResolutionSettings(view.model(), content);
    stack->addWidget(settings_);
    stack->addStretch(1);
    column->addWidget(settingsScrollArea(content, this), 1);
}

void ConnectionSettingsPage::render() { settings_->render(); }

}  // namespace dorvane
