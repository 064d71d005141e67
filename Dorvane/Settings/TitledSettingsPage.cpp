#include "Dorvane/Settings/TitledSettingsPage.h"

#include <QVBoxLayout>

#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

TitledSettingsPage::TitledSettingsPage(const QString& title, QWidget* parent) : SettingsPageView(parent) {
    auto* stack = settingsPageColumn(this);
    stack->addWidget(settingsPageTitle(title, this));
    stack->addStretch(1);
}

}  // namespace dorvane
