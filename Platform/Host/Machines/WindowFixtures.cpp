#include "Platform/Host/Machines/WindowFixtures.h"

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

namespace {

WindowRecord window(pid_t pid, std::string title, geometry::Rect frame) {
    WindowRecord record;
    record.pid = pid;
    record.title = std::move(title);
    record.frame = frame;
    return record;
}

pid_t launch(HostData& data, const Actor& actor, std::string name, std::string bundleID) {
    ApplicationLaunch application;
    application.name = std::move(name);
    application.bundleID = std::move(bundleID);
    return launchApplication(data, actor, application);
}

// Laid out for the laptop's 1512×982 panel below its 38-point menu bar.
void buildDesk(HostData& data, const Actor& actor) {
    const pid_t browser = launch(data, actor, "浏览器", "local.host.Browser");
    openWindow(data, actor, window(browser, "首页", {60, 80, 1100, 760}));

    const pid_t terminal = launch(data, actor, "终端", "local.host.Terminal");
    auto shell = window(terminal, "终端", {700, 420, 720, 460});
    shell.behaviours.sizeSteps = geometry::Size{7, 14};
    openWindow(data, actor, shell);
    applicationOrThrow(data, terminal).closesOnCommandW = true;

    const pid_t editor = launch(data, actor, "编辑器", "local.host.Editor");
    auto palette = window(editor, "颜色", {1180, 100, 220, 320});
    palette.level = 3;
    palette.subrole = std::string(accessibility::subrole::floatingWindow);
    palette.minimizeButton = ButtonState::absent;
    palette.zoomButton = ButtonState::absent;
    openWindow(data, actor, palette);
    openWindow(data, actor, window(editor, "草稿.txt", {240, 180, 800, 600}));
    auto notes = window(editor, "笔记.txt", {160, 120, 900, 700});
    notes.minSize = geometry::Size{600, 400};
    openWindow(data, actor, notes);
}

}  // namespace

void resetWindows(HostData& data, const Actor& actor, WindowsFixture fixture) {
    startWindowsOver(data, actor);
    if (fixture == WindowsFixture::desk) buildDesk(data, actor);
    json::Json details = json::Json::object();
    details["fixture"] = rawValue(fixture);
    data.record(actor, "windowsInit", details);
}

}  // namespace dorvane::host
