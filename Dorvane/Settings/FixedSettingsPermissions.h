#pragma once

#include "Dorvane/Settings/SettingsPermissions.h"

namespace dorvane {

// A permission that never changes and a guide that never opens: the settings window in
// pictures and measurements, where no tracker runs.
class FixedSettingsPermissions final : public SettingsPermissions {
public:
    explicit FixedSettingsPermissions(bool accessibility) : accessibility_(accessibility) {}

    bool accessibility() const override { return accessibility_; }
    void refresh() override {}
    void startMonitoring() override {}
    void stopMonitoring() override {}
    void setCompletion(std::function<void()>) override {}
    void showGuide() override {}
    dispatch::Observation observe(std::function<void()>) override { return {}; }

private:
    bool accessibility_;
};

}  // namespace dorvane
