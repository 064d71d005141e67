#include "Platform/Host/Admin/WindowsAdmin.h"

#include "Platform/Host/Machines/KeyboardFocus.h"

namespace dorvane::host {

void WindowsAdmin::change(const std::function<void(HostData&, const Actor&)>& body) {
    session_->access([&](HostData& data) { body(data, session_->actor()); });
}

WindowsView WindowsAdmin::view() {
    WindowsView view;
    session_->access([&](HostData& data) {
        view.frontmost = data.workspace().frontmostPID;
        view.keyWindow = keyboardFocus(data).window;
        view.applications = data.workspace().applications;
        view.windows = listWindows(data, currentScreens(data));
        for (auto& window : view.windows) window.record = nullptr;
        view.state = data.windows();
    });
    return view;
}

void WindowsAdmin::reset(WindowsFixture fixture) {
    change([&](HostData& data, const Actor& actor) { resetWindows(data, actor, fixture); });
}

pid_t WindowsAdmin::launch(const ApplicationLaunch& application) {
    pid_t pid = 0;
    change([&](HostData& data, const Actor& actor) { pid = launchApplication(data, actor, application); });
    return pid;
}

std::uint32_t WindowsAdmin::open(const WindowRecord& window) {
    std::uint32_t number = 0;
    change([&](HostData& data, const Actor& actor) { number = openWindow(data, actor, window); });
    return number;
}

void WindowsAdmin::drag(std::uint32_t number, const geometry::Rect& frame) {
    change([&](HostData& data, const Actor& actor) { dragWindow(data, actor, number, frame); });
}

void WindowsAdmin::focus(std::uint32_t number) {
    change([&](HostData& data, const Actor& actor) { focusWindow(data, actor, number); });
}

void WindowsAdmin::setMinimised(std::uint32_t number, bool minimised) {
    change([&](HostData& data, const Actor& actor) { host::setMinimised(data, actor, number, minimised); });
}

void WindowsAdmin::close(std::uint32_t number) {
    change([&](HostData& data, const Actor& actor) { closeWindow(data, actor, number); });
}

void WindowsAdmin::setHidden(pid_t pid, bool hidden) {
    change([&](HostData& data, const Actor& actor) { host::setHidden(data, actor, pid, hidden); });
}

void WindowsAdmin::quit(pid_t pid) {
    change([&](HostData& data, const Actor& actor) { quitApplication(data, actor, pid); });
}

std::uint32_t WindowsAdmin::click(geometry::Point location, std::optional<std::uint32_t> raiseBetween) {
    return clickThroughInput(location, raiseBetween).window;
}

WindowsAdmin::Click WindowsAdmin::clickThroughInput(geometry::Point location,
                                                    std::optional<std::uint32_t> raiseBetween) {
    std::uint32_t window = 0;
    change([&](HostData& data, const Actor& actor) {
        if (raiseBetween) windowOrThrow(data, *raiseBetween);
        window = targetAt(data, location).window;
        json::Json details = json::Json::object();
        details["x"] = location.x;
        details["y"] = location.y;
        details["window"] = window;
        data.record(actor, "pointerClick", details);
    });
    const auto injection = input_.inject(clickEvents(location, raiseBetween));
    return Click{window, injection};
}

std::vector<InjectedEvent> clickEvents(geometry::Point location, std::optional<std::uint32_t> raiseBetween) {
    InjectedEvent down;
    down.event.type = events::EventType::leftMouseDown;
    down.event.location = location;
    down.event.setField(events::EventField::clickState, 1);
    InjectedEvent up = down;
    up.event.type = events::EventType::leftMouseUp;
    up.raiseBefore = raiseBetween;
    return {down, up};
}

void WindowsAdmin::behaveWindow(std::uint32_t number, const std::function<void(WindowRecord&)>& body) {
    change([&](HostData& data, const Actor& actor) {
        auto& window = windowOrThrow(data, number);
        body(window);
        json::Json details = json::Json::object();
        details["window"] = number;
        details["behaviours"] = window.behaviours.toJson();
        data.record(actor, "windowBehave", details);
    });
}

void WindowsAdmin::behaveApplication(pid_t pid, const std::function<void(WindowApplication&)>& body) {
    change([&](HostData& data, const Actor& actor) {
        auto& application = applicationOrThrow(data, pid);
        body(application);
        json::Json details = application.toJson();
        details.erase("focusedWindow");
        details.erase("mainWindow");
        data.record(actor, "applicationBehave", details);
    });
}

void WindowsAdmin::post(JournalEvent event) {
    change([&](HostData& data, const Actor& actor) {
        if (event == JournalEvent::sessionResigned) resignSession(data);
        JournalEntry entry;
        entry.event = event;
        postNotification(data, entry);
        json::Json details = json::Json::object();
        details["event"] = rawValue(event);
        data.record(actor, "workspaceEvent", details);
    });
}

void WindowsAdmin::setAssistive(bool voiceOver, bool enabled) {
    change([&](HostData& data, const Actor& actor) {
        (voiceOver ? data.windows().voiceOver : data.windows().switchControl) = enabled;
        json::Json details = json::Json::object();
        details[voiceOver ? "voiceOver" : "switchControl"] = enabled;
        data.record(actor, "assistiveTechnology", details);
    });
}

}  // namespace dorvane::host
