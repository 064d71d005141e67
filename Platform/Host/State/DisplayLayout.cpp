#include "Platform/Host/State/DisplayLayout.h"

#include <algorithm>

#include "Platform/Host/State/HeadlessPlaceholder.h"

namespace dorvane::host {

namespace {

bool overlaps(const displays::Rect& a, const displays::Rect& b) {
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

void keepPlaceholderConsistent(HostState& state) {
    const bool physicalConnected = std::any_of(state.displays.begin(), state.displays.end(), [](const auto& d) {
        return d.kind == DisplayKind::physical && d.connected;
    });
    const auto placeholder = std::find_if(state.displays.begin(), state.displays.end(),
                                          [](const auto& d) { return d.kind == DisplayKind::placeholder; });
    if (physicalConnected && placeholder != state.displays.end()) {
        const DisplayID id = placeholder->id;
        state.displays.erase(placeholder);
        detachMirrors(state, id);
    } else if (!physicalConnected && placeholder == state.displays.end()) {
        // Listed after the physical records, before any virtual display.
        const auto firstVirtual = std::find_if(state.displays.begin(), state.displays.end(), [](const auto& d) {
            return d.kind == DisplayKind::virtualDisplay;
        });
        auto record = makeHeadlessPlaceholder(state.allocateDisplayID());
        const auto [x, y] = nextFreeOrigin(state, record.id);
        record.x = x;
        record.y = y;
        state.displays.insert(firstVirtual, std::move(record));
    }
}

}  // namespace

void detachMirrors(HostState& state, DisplayID master) {
    for (auto& display : state.displays) {
        if (display.mirror == master) display.mirror = 0;
    }
}

std::pair<std::int32_t, std::int32_t> nextFreeOrigin(const HostState& state, DisplayID joining) {
    bool any = false;
    double right = 0;
    std::int32_t top = 0;
    for (const auto& display : state.displays) {
        if (!display.isOnline() || display.mirror != 0 || display.id == joining) continue;
        const auto bounds = display.bounds();
        right = any ? std::max(right, bounds.maxX()) : bounds.maxX();
        if (display.main) top = display.y;
        any = true;
    }
    return {any ? static_cast<std::int32_t>(right) : 0, top};
}

void normalizeLayout(HostState& state, const std::vector<DisplayID>& placedFirst) {
    keepPlaceholderConsistent(state);

    std::vector<DisplayRecord*> online;
    for (auto& display : state.displays) {
        if (display.isOnline()) {
            online.push_back(&display);
        } else {
            display.main = false;
        }
    }

    // Mirror links judged on the links as they were, so a chain loses its upper link.
    std::vector<DisplayRecord*> broken;
    for (auto* display : online) {
        if (display->mirror == 0) continue;
        const DisplayRecord* master = state.online(display->mirror);
        if (master == nullptr || master == display || master->mirror != 0) broken.push_back(display);
    }
    for (auto* display : broken) display->mirror = 0;

    DisplayRecord* previousMain = nullptr;
    std::vector<DisplayRecord*> order;
    auto enqueue = [&order](DisplayRecord* display) {
        if (display != nullptr && display->isOnline() && display->mirror == 0 &&
            std::find(order.begin(), order.end(), display) == order.end()) {
            order.push_back(display);
        }
    };
    for (const DisplayID id : placedFirst) enqueue(state.online(id));
    for (auto* display : online) {
        if (display->main && previousMain == nullptr) previousMain = display;
    }
    enqueue(previousMain);
    for (auto* display : online) enqueue(display);
    if (order.empty()) return;

    std::vector<displays::Rect> placed;
    for (auto* display : order) {
        const auto bounds = display->bounds();
        const bool clash = std::any_of(placed.begin(), placed.end(),
                                       [&bounds](const displays::Rect& other) { return overlaps(bounds, other); });
        if (clash) {
            double right = placed.front().maxX();
            for (const auto& other : placed) right = std::max(right, other.maxX());
            display->x = static_cast<std::int32_t>(right);
            display->y = static_cast<std::int32_t>(placed.front().y);
        }
        placed.push_back(display->bounds());
    }

    DisplayRecord* main = nullptr;
    for (auto* display : order) {
        if (display->x == 0 && display->y == 0) {
            main = display;
            break;
        }
    }
    if (main == nullptr) {
        main = (previousMain != nullptr && previousMain->mirror == 0) ? previousMain : order.front();
        const std::int32_t dx = main->x;
        const std::int32_t dy = main->y;
        for (auto* display : order) {
            display->x -= dx;
            display->y -= dy;
        }
    }

    for (auto* display : online) {
        display->main = display == main;
        if (display->mirror != 0) {
            const DisplayRecord* master = state.online(display->mirror);
            display->x = master->x;
            display->y = master->y;
        }
    }
}

}  // namespace dorvane::host
