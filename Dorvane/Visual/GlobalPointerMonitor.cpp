#include "Dorvane/Visual/GlobalPointerMonitor.h"

#include <optional>

namespace dorvane {

namespace {

std::optional<GlobalPointerEvent::Kind> kindOf(events::MouseEvent::Kind kind) {
    switch (kind) {
        case events::MouseEvent::Kind::leftMouseDown: return GlobalPointerEvent::Kind::leftMouseDown;
        case events::MouseEvent::Kind::leftMouseUp: return GlobalPointerEvent::Kind::leftMouseUp;
    }
    return std::nullopt;
}

GlobalPointerMonitor* sharedMonitor = nullptr;

}  // namespace

GlobalPointerMonitor* GlobalPointerMonitor::shared() { return sharedMonitor; }

void GlobalPointerMonitor::setShared(GlobalPointerMonitor* monitor) { sharedMonitor = monitor; }

dispatch::Observation HostGlobalPointerMonitor::observe(std::function<void(const GlobalPointerEvent&)> handler) {
    return pointer_.addGlobalMouseMonitor([handler = std::move(handler)](const events::MouseEvent& event) {
        if (const auto kind = kindOf(event.kind)) handler(GlobalPointerEvent{*kind, event.location});
    });
}

}  // namespace dorvane
