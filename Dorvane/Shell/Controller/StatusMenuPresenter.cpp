#include "Dorvane/Shell/Controller/StatusMenuPresenter.h"

#include <algorithm>
#include <utility>

#include "Dorvane/Shell/StatusMenu.h"

namespace dorvane::shell {

StatusMenuPresenter::StatusMenuPresenter(statusbar::StatusBar& statusBar, ApplicationPlatform& platform,
                                         std::ostream& errors, EngineLog& log, dispatch::MainQueue& mainQueue)
    : statusBar_(statusBar), platform_(platform), errors_(errors), log_(log), mainQueue_(mainQueue) {}

StatusMenuPresenter::~StatusMenuPresenter() {
    lifetime_.end();
    retry_.cancel();
    clickObservation_.cancel();
}

std::string StatusMenuPresenter::image(bool active) {
    const auto artwork = std::string(active ? StatusMenu::activeImage : StatusMenu::idleImage);
    return StatusMenu::imageName(active, platform_.hasImage(artwork));
}

void StatusMenuPresenter::publish(const statusbar::StatusItem& item) {
    if (item_ && *item_ == item && published_) return;
    item_ = item;
    published_ = false;
    retry_.cancel();
    retryDelay_ = firstRetrySeconds;
    attempt();
}

void StatusMenuPresenter::attempt() {
    try {
        statusBar_.publish(*item_);
        published_ = true;
        failing_ = false;
        return;
    } catch (const std::exception& error) {
        if (!std::exchange(failing_, true)) {
            errors_ << "Corvelle: " << error.what() << "\n";
            log_.write("status_item_failed", error.what());
        }
    }
    // Nothing else may change for a long while (a quiet session): the item must not stay
    // on a state the program has left.
    retry_ = mainQueue_.postAfter(retryDelay_, [this, alive = lifetime_.watch()] {
        if (alive && !published_) attempt();
    });
    retryDelay_ = std::min(retryDelay_ * 2, longestRetrySeconds);
}

void StatusMenuPresenter::publishIdle() { publish(statusbar::StatusItem{image(false), "", "Corvelle", {}}); }

void StatusMenuPresenter::addMenu(std::function<bool(const std::string&)> choose) {
    // Clicks reach the menu from the status bar on the main queue.
    item_->menu = StatusMenu::entries();
    publish(*item_);
    clickObservation_ = statusBar_.observeClicks(std::move(choose));
}

void StatusMenuPresenter::render(const EngineStatus& status, bool toolbarShown, bool restoreEnabled) {
    if (!item_) return;  // before launch made the item
    auto item = *item_;
    item.tooltip = StatusMenu::tooltip(status.title);
    item.image = image(status.active);
    if (item.menu.size() > StatusMenu::restoreEntry) {
        item.menu[StatusMenu::toolbarEntry].checked = toolbarShown;
        item.menu[StatusMenu::restoreEntry].enabled = restoreEnabled;
    }
    publish(item);
}

void StatusMenuPresenter::refreshToolbarEntry(bool toolbarShown) {
    if (!item_ || item_->menu.size() <= StatusMenu::toolbarEntry) return;
    auto item = *item_;
    item.menu[StatusMenu::toolbarEntry].checked = toolbarShown;
    publish(item);
}

bool StatusMenuPresenter::offers(const std::string& title) const {
    if (!item_) return false;
    const auto entry = std::find_if(item_->menu.begin(), item_->menu.end(), [&](const statusbar::MenuEntry& e) {
        return !e.separator && e.title == title;
    });
    return entry != item_->menu.end() && entry->enabled;
}

}  // namespace dorvane::shell
