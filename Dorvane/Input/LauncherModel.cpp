#include "Dorvane/Input/LauncherModel.h"

#include <map>

namespace dorvane::input {

struct LauncherModel::Observers {
    std::uint64_t next = 1;
    std::map<std::uint64_t, std::function<void()>> handlers;
};

LauncherModel::LauncherModel()
    : open([](const LauncherApp&) {}), close([] {}), layoutChanged([] {}), observers_(std::make_shared<Observers>()) {}

std::vector<LauncherSection> LauncherModel::sections() const { return launcherSections(apps_, recent_); }

std::size_t LauncherModel::cellCount() const { return launcherCellCount(apps_.size(), sections().size()); }

std::filesystem::path LauncherModel::iconFile(const LauncherApp& app) const {
    return iconLocator_ ? iconLocator_(app.path) : std::filesystem::path();
}

dispatch::Observation LauncherModel::observe(std::function<void()> changed) {
    const auto id = observers_->next++;
    observers_->handlers.emplace(id, std::move(changed));
    return dispatch::Observation([weak = std::weak_ptr<Observers>(observers_), id] {
        if (auto observers = weak.lock()) observers->handlers.erase(id);
    });
}

void LauncherModel::changed() {
    // A handler may end its own observation or another one while this runs.
    const auto handlers = observers_->handlers;
    for (const auto& [id, handler] : handlers) {
        if (observers_->handlers.contains(id)) handler();
    }
}

void LauncherModel::setApps(std::vector<LauncherApp> apps) {
    if (apps == apps_) return;
    apps_ = std::move(apps);
    changed();
}

void LauncherModel::setRecent(RecentApplications recent) {
    if (recent == recent_) return;
    recent_ = std::move(recent);
    changed();
}

void LauncherModel::setSide(ToolbarSide side) {
    if (side == side_) return;
    side_ = side;
    changed();
}

void LauncherModel::setPresentationID(std::uint64_t id) {
    if (id == presentationID_) return;
    presentationID_ = id;
    changed();
}

void LauncherModel::setError(std::optional<std::string> error) {
    if (error == error_) return;
    error_ = std::move(error);
    changed();
}

void LauncherModel::setLaunching(bool launching) {
    if (launching == launching_) return;
    launching_ = launching;
    changed();
}

}  // namespace dorvane::input
