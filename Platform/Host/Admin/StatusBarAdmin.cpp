#include "Platform/Host/Admin/StatusBarAdmin.h"

#include <algorithm>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

void StatusBarAdmin::settled(const std::function<void(HostData&)>& body) {
    HostStore& store = session_->store();
    session_->access([&](HostData& data) {
        data.statusBar().settle([&store](const processes::ProcessIdentity& owner) { return store.isAlive(owner); });
        body(data);
    });
}

StatusBarState StatusBarAdmin::state() {
    StatusBarState state;
    settled([&](HostData& data) { state = data.statusBar(); });
    return state;
}

std::uint64_t StatusBarAdmin::click(const std::string& title) {
    std::uint64_t id = 0;
    settled([&](HostData& data) {
        auto& bar = data.statusBar();
        if (!bar.item) throw HostError("no status item: the program is not running");
        const auto entry = std::find_if(bar.item->menu.begin(), bar.item->menu.end(),
                                        [&](const statusbar::MenuEntry& e) { return !e.separator && e.title == title; });
        if (entry == bar.item->menu.end()) throw HostError("the menu has no entry \"" + title + "\"");
        if (!entry->enabled) throw HostError("the menu entry \"" + title + "\" is disabled");
        id = bar.nextClick++;
        bar.clicks.push_back(StatusBarClick{id, title, StatusBarClick::State::pending});
        ++bar.generation;
        json::Json details = json::Json::object();
        details["title"] = title;
        data.record(session_->actor(), "statusbar-click", details);
    });
    return id;
}

std::optional<StatusBarClick::State> StatusBarAdmin::clickState(std::uint64_t id) {
    std::optional<StatusBarClick::State> found;
    settled([&](HostData& data) {
        for (const auto& click : data.statusBar().clicks) {
            if (click.id == id) found = click.state;
        }
    });
    return found;
}

std::optional<StatusBarClick::State> StatusBarAdmin::forget(std::uint64_t id) {
    std::optional<StatusBarClick::State> last;
    settled([&](HostData& data) {
        auto& clicks = data.statusBar().clicks;
        const auto found =
            std::find_if(clicks.begin(), clicks.end(), [id](const StatusBarClick& click) { return click.id == id; });
        if (found == clicks.end()) return;
        last = found->state;
        clicks.erase(found);
        ++data.statusBar().generation;
    });
    return last;
}

}  // namespace dorvane::host
