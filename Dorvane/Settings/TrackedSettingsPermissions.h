#pragma once

#include <memory>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/Settings/SettingsPermissions.h"

namespace dorvane {

// The program's permission tracker as the settings window uses it.
class TrackedSettingsPermissions final : public SettingsPermissions {
public:
    explicit TrackedSettingsPermissions(std::shared_ptr<ShortcutPermissions> tracker) : tracker_(std::move(tracker)) {}

    bool accessibility() const override { return tracker_->state().accessibility; }
    void refresh() override { tracker_->refresh(); }
    void startMonitoring() override { tracker_->startMonitoring(); }
    void stopMonitoring() override { tracker_->stopMonitoring(); }
    void setCompletion(std::function<void()> completion) override { tracker_->completion = std::move(completion); }
    void showGuide() override { tracker_->showGuide(); }
    dispatch::Observation observe(std::function<void()> changed) override {
        return tracker_->observe([changed = std::move(changed)](const ShortcutPermissionState&) { changed(); });
    }

private:
    std::shared_ptr<ShortcutPermissions> tracker_;
};

}  // namespace dorvane
