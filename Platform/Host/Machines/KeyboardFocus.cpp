#include "Platform/Host/Machines/KeyboardFocus.h"

#include "Platform/Host/Machines/WindowListing.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

namespace {

bool shows(const HostData& data, std::uint32_t number) {
    const auto* window = data.windows().window(number);
    return window != nullptr && isOnScreen(data, *window);
}

}  // namespace

KeyboardFocus keyboardFocus(const HostData& data) {
    if (const auto panel = data.windows().keyPanel; panel && shows(data, *panel)) {
        return KeyboardFocus{data.windows().window(*panel)->pid, *panel};
    }
    const auto front = data.workspace().frontmostPID;
    if (!front) return {};
    return KeyboardFocus{front, keyWindowOf(data, *front)};
}

std::uint32_t keyWindowOf(const HostData& data, pid_t pid) {
    if (const auto panel = data.windows().keyPanel; panel && shows(data, *panel)) {
        if (data.windows().window(*panel)->pid == pid) return *panel;
    }
    const auto* application = data.windows().application(pid);
    if (application == nullptr || !application->focusedWindow || !shows(data, *application->focusedWindow)) return 0;
    return *application->focusedWindow;
}

void setKeyPanel(HostData& data, std::optional<std::uint32_t> number) {
    if (data.windows().keyPanel == number) return;
    data.windows().keyPanel = number;
    const auto now = keyboardFocus(data);
    JournalEntry entry;
    entry.event = JournalEvent::keyChanged;
    entry.pid = now.pid;
    entry.window = now.window;
    postNotification(data, entry);
}

void keyPanelGone(HostData& data, std::uint32_t number) {
    if (data.windows().keyPanel == number) setKeyPanel(data, std::nullopt);
}

}  // namespace dorvane::host
