#include "Dorvane/Shell/Controller/StatusMenuPresenter.h"

#include <algorithm>
#include <utility>

#include "Dorvane/Shell/StatusMenu.h"

namespace dorvane::shell {

StatusMenuPresenter::StatusMenuPresenter(statusbar::StatusBar& statusBar, ApplicationPlatform& platform,
                                         std::ostream& errors)
    : statusBar_(statusBar), platform_(platform), errors_(errors) {}

StatusMenuPresenter::~StatusMenuPresenter() { clickObservation_.cancel(); }

std::string StatusMenuPresenter::image(bool active) {
    const auto artwork = std::string(active ? StatusMenu::activeImage : StatusMenu::idleImage);
    return StatusMenu::imageName(active, platform_.hasImage(artwork));
}

void StatusMenuPresenter::publish(const statusbar::StatusItem& item) {
    if (item_ && *item_ == item && published_) return;
    item_ = item;
    published_ = false;
    try {
        statusBar_.publish(item);
        published_ = true;
        failing_ = false;
    } catch (const std::exception& error) {
        // The engine log has it from the host's catch-up, which shows the item once it can.
        if (!std::exchange(failing_, true)) errors_ << "Corvelle: " << error.what() << "\n";
    }
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
