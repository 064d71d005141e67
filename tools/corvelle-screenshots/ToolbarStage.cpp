#include "tools/corvelle-screenshots/ToolbarStage.h"

#include "DorvaneCore/Input/KeyCombination.h"

namespace dorvane::screenshots {

namespace {

NamedShortcut shortcut(const std::string& id, const std::string& name, const std::string& keys, ShortcutIcon icon) {
    return NamedShortcut(id, name, parseKeyCombination(keys), NamedShortcut::Mode::press, icon);
}

std::vector<NamedShortcut> everydayShortcuts() {
    return {shortcut("copy", "拷贝", "cmd+c", ShortcutIcon::copy), shortcut("paste", "粘贴", "cmd+v", ShortcutIcon::clipboard),
            shortcut("undo", "撤销", "cmd+z", ShortcutIcon::undo),
            shortcut("find", "查找", "cmd+f", ShortcutIcon::search)};
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
    terminal.shortcuts = {shortcut("tab", "新标签页", "cmd+t", ShortcutIcon::newTab),
                          shortcut("close", "关闭", "cmd+w", ShortcutIcon::closeTab),
                          shortcut("clear", "清屏", "cmd+k", ShortcutIcon::trash),
                          shortcut("find", "查找", "cmd+f", ShortcutIcon::search),
                          shortcut("copy", "拷贝", "cmd+c", ShortcutIcon::copy),
                          shortcut("paste", "粘贴", "cmd+v", ShortcutIcon::clipboard)};
    Preferences preferences;
    preferences.namedShortcuts = everydayShortcuts();
    preferences.applicationShortcutsEnabled = true;
    preferences.applicationShortcuts = {terminal};
    return preferences;
}

Preferences ToolbarStage::withOperations(int count) {
    Preferences preferences;
    const std::vector<ShortcutIcon> icons{ShortcutIcon::copy, ShortcutIcon::clipboard, ShortcutIcon::scissors,
                                          ShortcutIcon::search, ShortcutIcon::undo, ShortcutIcon::trash};
    const int shortcuts = count - static_cast<int>(preferences.floatingActions.size());
    for (int i = 0; i < shortcuts; ++i) {
        preferences.namedShortcuts.push_back(shortcut("s" + std::to_string(i), "操作 " + std::to_string(i + 1),
                                                      "cmd+" + std::to_string(i % 10),
                                                      icons[static_cast<std::size_t>(i) % icons.size()]));
    }
    return preferences;
}

void ToolbarStage::companionOpen(std::optional<FloatingAction> action) {
    toolbar_->setActivePanel(action);
    toolbar_->updateAttachedSurface();
    toolbar_->updateSelection();
}

}  // namespace dorvane::screenshots
