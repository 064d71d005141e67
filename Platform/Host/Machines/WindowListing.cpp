#include "Platform/Host/Machines/WindowListing.h"

#include <algorithm>

#include "Platform/Accessibility/WindowList.h"
#include "Platform/Host/State/GeometryJson.h"
#include "Platform/Host/State/WindowPose.h"

namespace dorvane::host {

namespace windowkey = accessibility::windowkey;

bool isOnScreen(const HostData& data, const WindowRecord& window) {
    if (window.minimised || !window.onScreen) return false;
    const auto* application = data.workspace().application(window.pid);
    return application != nullptr && !application->hidden;
}

std::vector<ListedWindow> listWindows(const HostData& data, const std::vector<displays::Screen>& screens) {
    std::vector<ListedWindow> listed;
    if (!screens.empty()) {
        const auto& main = screens.front();
        const double height = main.visibleFrame.minY() - main.frame.minY();
        if (height > 0) {
            ListedWindow menuBar;
            menuBar.number = kMenuBarWindowNumber;
            menuBar.ownerName = kWindowServerName;
            menuBar.layer = kMenuBarLayer;
            menuBar.bounds = geometry::Rect{main.frame.minX(), main.frame.minY(), main.frame.width, height};
            menuBar.title = "Menubar";
            listed.push_back(menuBar);
        }
    }
    std::vector<const WindowRecord*> windows;
    for (const auto& window : data.windows().windows) windows.push_back(&window);
    std::stable_sort(windows.begin(), windows.end(),
                     [](const WindowRecord* a, const WindowRecord* b) { return a->level > b->level; });
    for (const auto* window : windows) {
        ListedWindow row;
        row.number = window->number;
        row.pid = window->pid;
        const auto* application = data.workspace().application(window->pid);
        row.ownerName = application ? application->name : std::string();
        row.layer = window->level;
        row.bounds = listedPose(*window, data.now, screens).frame;
        row.alpha = window->alpha;
        row.title = window->title;
        row.onScreen = isOnScreen(data, *window);
        row.minimised = window->minimised;
        row.record = window;
        listed.push_back(row);
    }
    for (std::size_t index = 0; index < screens.size(); ++index) {
        ListedWindow desktop;
        desktop.number = kFirstDesktopWindowNumber + static_cast<std::uint32_t>(index);
        desktop.ownerName = kWindowServerName;
        desktop.layer = kDesktopLayer;
        desktop.bounds = screens[index].frame;
        desktop.title = "Desktop Picture";
        desktop.desktop = true;
        listed.push_back(desktop);
    }
    return listed;
}

json::Json windowListAnswer(const std::vector<ListedWindow>& windows, std::uint32_t options, std::uint32_t relativeTo) {
    json::Json list = json::Json::array();
    for (const auto& window : windows) {
        if ((options & accessibility::windowlist::includingWindow) != 0 && window.number != relativeTo) continue;
        if ((options & accessibility::windowlist::onScreenOnly) != 0 && !window.onScreen) continue;
        if ((options & accessibility::windowlist::excludeDesktopElements) != 0 && window.desktop) continue;
        json::Json entry = json::Json::object();
        entry[windowkey::number] = window.number;
        entry[windowkey::ownerPID] = window.pid;
        entry[windowkey::ownerName] = window.ownerName;
        entry[windowkey::layer] = window.layer;
        entry[windowkey::bounds] = rectJson(window.bounds);
        entry[windowkey::alpha] = window.alpha;
        if (window.record != nullptr) {
            for (const auto& key : window.record->behaviours.omittedListKeys) entry.erase(key);
        }
        list.push_back(std::move(entry));
    }
    return list;
}

std::optional<ListedWindow> windowAt(const HostData& data, const std::vector<displays::Screen>& screens,
                                     geometry::Point point, bool ordinaryOnly) {
    for (auto window : listWindows(data, screens)) {
        if (window.desktop || !window.onScreen || (ordinaryOnly && window.layer != 0)) continue;
        // The window server hits windows where they are, even while its list lags.
        if (window.record != nullptr) window.bounds = poseAt(*window.record, data.now, screens).frame;
        if (window.bounds.contains(point)) return window;
    }
    return std::nullopt;
}

}  // namespace dorvane::host
