#include "Platform/Host/HostOwnWindows.h"

#include "Platform/Host/WindowMachine.h"

namespace dorvane::host {

void HostOwnWindows::registerApplication(const std::string& name, const std::optional<std::string>& bundleID) {
    session_->access([&](HostData& data) {
        registerOwnApplication(data, session_->actor(), session_->identity(), name, bundleID);
    });
}

std::uint32_t HostOwnWindows::addWindow(const workspace::OwnWindow& window) {
    std::uint32_t number = 0;
    session_->access([&](HostData& data) { number = addOwnWindow(data, session_->identity().pid, window); });
    return number;
}

bool HostOwnWindows::updateWindow(std::uint32_t number, const workspace::OwnWindow& window) {
    bool found = false;
    session_->access([&](HostData& data) { found = updateOwnWindow(data, session_->identity().pid, number, window); });
    return found;
}

bool HostOwnWindows::removeWindow(std::uint32_t number) {
    bool found = false;
    session_->access([&](HostData& data) { found = removeOwnWindow(data, session_->identity().pid, number); });
    return found;
}

bool HostOwnWindows::activateWindow(std::uint32_t number) {
    bool found = false;
    session_->access([&](HostData& data) { found = activateOwnWindow(data, session_->identity().pid, number); });
    return found;
}

dispatch::Observation HostOwnWindows::observeClicks(std::function<void(const workspace::OwnWindowClick&)> handler) {
    const pid_t own = session_->identity().pid;
    return events_->observe([own, handler = std::move(handler)](const JournalEntry& entry) {
        if (entry.event != JournalEvent::mouseDown && entry.event != JournalEvent::mouseUp) return;
        if (entry.pid != own) return;
        handler(workspace::OwnWindowClick{entry.window, entry.location, entry.event == JournalEvent::mouseDown});
    });
}

}  // namespace dorvane::host
