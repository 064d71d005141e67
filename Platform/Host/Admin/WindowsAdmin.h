#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Admin/InputAdmin.h"
#include "Platform/Host/Machines/WindowFixtures.h"
#include "Platform/Host/Machines/WindowListing.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

// What a person sees of the windows side at one moment.
struct WindowsView {
    std::optional<pid_t> frontmost;
    // The window that has the keyboard (the frontmost application's key window, or a panel
    // made key while its application stays behind); 0 for none.
    std::uint32_t keyWindow = 0;
    std::vector<workspace::RunningApplication> applications;
    std::vector<ListedWindow> windows;  // every window front to back (see listWindows); `record` is null
    WindowsState state;
};

// Drives other applications' windows and the pointer from outside the
// program, as a person at the machine would; for the host tool and tests. Every change
// is logged under the session's role and happens whole or not at all. Throws HostError
// for an unknown process or window.
class WindowsAdmin {
public:
    WindowsAdmin(std::shared_ptr<HostSession> session, InputAdmin& input)
        : session_(std::move(session)), input_(input) {}

    WindowsView view();

    void reset(WindowsFixture fixture);
    pid_t launch(const ApplicationLaunch& application);
    std::uint32_t open(const WindowRecord& window);
    void drag(std::uint32_t number, const geometry::Rect& frame);
    void focus(std::uint32_t number);
    void setMinimised(std::uint32_t number, bool minimised);
    void close(std::uint32_t number);
    void setHidden(pid_t pid, bool hidden);
    void quit(pid_t pid);
    // A click of the left button as input from outside (through the program's taps when it
    // owns the input); answers the window under the point when it is given.
    std::uint32_t click(geometry::Point location, std::optional<std::uint32_t> raiseBetween);
    // The same, with the injection left for the program (none: delivered here already).
    struct Click {
        std::uint32_t window = 0;
        std::optional<std::uint64_t> injection;
    };
    Click clickThroughInput(geometry::Point location, std::optional<std::uint32_t> raiseBetween);

    // Changes a window's or an application's behaviours.
    void behaveWindow(std::uint32_t number, const std::function<void(WindowRecord&)>& change);
    void behaveApplication(pid_t pid, const std::function<void(WindowApplication&)>& change);

    // spaceChanged or sessionResigned.
    void post(JournalEvent event);
    void setAssistive(bool voiceOver, bool enabled);

private:
    void change(const std::function<void(HostData&, const Actor&)>& body);

    std::shared_ptr<HostSession> session_;
    InputAdmin& input_;
};

// The press and release of a click at a point, the release after `raiseBetween` comes forward.
std::vector<InjectedEvent> clickEvents(geometry::Point location, std::optional<std::uint32_t> raiseBetween);

}  // namespace dorvane::host
