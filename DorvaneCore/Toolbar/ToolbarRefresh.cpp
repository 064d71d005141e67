#include "DorvaneCore/Toolbar/ToolbarRefresh.h"

#include <algorithm>

#include "DorvaneCore/Shortcuts/ApplicationShortcutTarget.h"

namespace dorvane {

std::optional<std::size_t> ToolbarRefresh::shortcutApplication(const ToolbarSettings& settings,
                                                               std::span<const RunningApplication> running,
                                                               std::optional<std::int32_t> frontmost,
                                                               bool frontmostRegular, std::int32_t ownPID,
                                                               std::span<const std::int32_t> recent,
                                                               const std::unordered_set<std::int32_t>& windowPIDs) {
    if (!settings.applicationShortcutsEnabled || settings.applicationShortcuts.empty()) return std::nullopt;
    const auto live = [](const RunningApplication& app) { return app.regular && !app.terminated; };
    std::unordered_set<std::int32_t> livePIDs;
    for (const RunningApplication& app : running) {
        if (live(app)) livePIDs.insert(app.pid);
    }
    const std::optional<std::int32_t> pid =
        ApplicationShortcutTarget::resolve(frontmost, ownPID, frontmostRegular, recent, livePIDs, windowPIDs);
    if (!pid) return std::nullopt;
    const auto found =
        std::ranges::find_if(running, [&](const RunningApplication& app) { return live(app) && app.pid == *pid; });
    if (found == running.end()) return std::nullopt;
    const auto list = applicationShortcutsFor(settings.applicationShortcuts, settings.applicationShortcutsEnabled,
                                              found->bundleID);
    if (!list) return std::nullopt;
    return static_cast<std::size_t>(found - running.begin());
}

bool ToolbarRefresh::scansApplicationWindows(bool enabled, bool expanded, const ToolbarSettings& settings) {
    return enabled && expanded && settings.applicationShortcutsEnabled && !settings.applicationShortcuts.empty();
}

bool ToolbarRefresh::pollsFillState(bool enabled, bool expanded, const ToolbarSettings& settings) {
    return enabled && expanded &&
           std::ranges::find(settings.floatingActions, FloatingAction::fillWindow) != settings.floatingActions.end();
}

}  // namespace dorvane
