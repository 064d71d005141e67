#pragma once

#include "Dorvane/Settings/SettingsPageView.h"

namespace dorvane {

// A page this build does not fill yet: only its title, where every page has it.
class TitledSettingsPage final : public SettingsPageView {
public:
    explicit TitledSettingsPage(const QString& title, QWidget* parent = nullptr);
    void render() override {}
};

}  // namespace dorvane
