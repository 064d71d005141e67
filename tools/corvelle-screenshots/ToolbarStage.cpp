#include "tools/corvelle-screenshots/ToolbarStage.h"

#include <algorithm>
#include <stdexcept>

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"

namespace dorvane::screenshots {

namespace {

// A shortcut of the program's own catalog of recommended shortcuts, as "常用快捷操作" adds it.
NamedShortcut preset(const std::string& id) {
    const auto& catalog = ShortcutPresetCatalog::recommendedPresets();
    const auto found = std::ranges::find(catalog, "preset:" + id, &NamedShortcut::id);
    if (found == catalog.end()) throw std::runtime_error("the shortcut catalog has no preset:" + id);
    return *found;
}

std::vector<NamedShortcut> everydayShortcuts() {
    return {preset("copy"), preset("paste"), preset("undo"), preset("find")};
}

}  // namespace

ToolbarStage::ToolbarStage(host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock)
    : host_(host) {
    const pid_t own = host.process().pid;
    catalog_ = std::make_unique<windows::ApplicationWindowCatalog>(
        catalogQueue_, host.accessibility(),
        windows::ApplicationWindowCatalog::windowServerQuery(host.windowList(), host.applicationWorkspace(), own),
        [&clock] { return clock.uptime(); });
    toolbar_ = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
        mainQueue, clock, host.screens(), host.applicationWorkspace(), host.workspace(), host.accessibility(), *catalog_,
        {},
        ShortcutSender::Services{host.events(), host.pointer(), host.applicationWorkspace(), host.accessibility(),
                                 host.systemSound(), mainQueue, clock, {}, nullptr},
        {}, own, nullptr, {}, [&host](const std::string& path) { return host.installedApplications().iconFile(path); },
        {}});
    toolbar_->reduceMotion = [] { return true; };
}

ToolbarStage::~ToolbarStage() {
    toolbar_.reset();
    catalogQueue_.stop();
}

void ToolbarStage::expand(ToolbarSide side, const std::optional<Preferences>& preferences) {
    Preferences settings;
    if (preferences) {
        settings = *preferences;
    } else {
        settings.namedShortcuts = everydayShortcuts();
    }
    settings.toolbarSide = side;
    toolbar_->setEnabled(false);
    toolbar_->configure(settings);
    toolbar_->setEnabled(true);
    toolbar_->toggleList();
}

void ToolbarStage::collapse() {
    toolbar_->setEnabled(false);
    toolbar_->configure(Preferences{});
    toolbar_->setEnabled(true);
}

Preferences ToolbarStage::withFrontApplicationShortcuts() {
    host::ApplicationLaunch launch;
    launch.name = "终端";
    launch.bundleID = "com.example.terminal";
    const pid_t pid = host_.windowsAdmin().launch(launch);
    host::WindowRecord window;
    window.pid = pid;
    window.title = "终端";
    window.frame = geometry::Rect{420, 160, 860, 560};
    host_.windowsAdmin().open(window);
    host_.applicationWorkspace().activate(pid);

    ApplicationShortcuts terminal{"com.example.terminal", "终端", "/Applications/终端.app", {}};
    terminal.shortcuts = {preset("new-tab"), preset("close-window"), preset("clear-terminal"),
                          preset("interrupt"),  preset("find"),         preset("copy")};
    Preferences preferences;
    preferences.namedShortcuts = everydayShortcuts();
    preferences.applicationShortcutsEnabled = true;
    preferences.applicationShortcuts = {terminal};
    return preferences;
}

Preferences ToolbarStage::withOperations(int count) {
    Preferences preferences;
    // The first shortcuts of the catalog, in its order.
    const auto& catalog = ShortcutPresetCatalog::recommendedPresets();
    const auto shortcuts = static_cast<std::size_t>(count) - preferences.floatingActions.size();
    if (shortcuts > catalog.size()) throw std::runtime_error("the shortcut catalog is too short for the picture");
    preferences.namedShortcuts.assign(catalog.begin(), catalog.begin() + static_cast<std::ptrdiff_t>(shortcuts));
    return preferences;
}

void ToolbarStage::companionOpen(std::optional<FloatingAction> action) {
    toolbar_->setActivePanel(action);
    toolbar_->updateAttachedSurface();
    toolbar_->updateSelection();
}

}  // namespace dorvane::screenshots
