#include "Dorvane/Input/ShortcutPermissions.h"

#include <vector>

#include "DorvaneCore/Input/PermissionGuidePlacement.h"

namespace dorvane {

namespace {

using Listed = PermissionGuidePlacement::ListedWindow;

// A window-list entry as far as it reads: keys that are missing or of another type stay unknown.
Listed listed(const json::Json& entry) {
    Listed window;
    if (!entry.is_object()) return window;
    try {
        window.ownerPID = json::getOptional<std::int32_t>(entry, accessibility::windowkey::ownerPID);
    } catch (const json::DecodeError&) {
    }
    try {
        window.layer = json::getOptional<std::int32_t>(entry, accessibility::windowkey::layer);
    } catch (const json::DecodeError&) {
    }
    try {
        window.alpha = json::getOptional<double>(entry, accessibility::windowkey::alpha);
    } catch (const json::DecodeError&) {
    }
    try {
        if (json::hasValue(entry, accessibility::windowkey::bounds)) {
            const auto& bounds = entry[accessibility::windowkey::bounds];
            window.bounds = geometry::Rect{json::get<double>(bounds, "x"), json::get<double>(bounds, "y"),
                                           json::get<double>(bounds, "width"), json::get<double>(bounds, "height")};
        }
    } catch (const json::DecodeError&) {
    }
    return window;
}

}  // namespace

ShortcutPermissions::ShortcutPermissions(Services services) : services_(std::move(services)), state_(read()) {}

ShortcutPermissions::~ShortcutPermissions() {
    lifetime_.end();
    closePanel(true);
}

ShortcutPermissionState ShortcutPermissions::read() {
    return ShortcutPermissionState{services_.trust.isProcessTrusted(), services_.events.canPostEvents()};
}

dispatch::Observation ShortcutPermissions::observe(std::function<void(const ShortcutPermissionState&)> observer) {
    const auto id = nextObserver_++;
    observers_.emplace(id, std::move(observer));
    return dispatch::Observation([this, alive = lifetime_.watch(), id] {
        if (alive) observers_.erase(id);
    });
}

void ShortcutPermissions::refresh() {
    dispatch::assertOn(services_.main, "ShortcutPermissions::refresh");
    const auto now = read();
    if (now == state_) return;
    state_ = now;
    // Copied: an observer may stop observing.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers) observer(state_);
}

void ShortcutPermissions::startMonitoring() {
    refresh();
    if (statusTimer_.isActive()) return;
    statusTimer_ = dispatch::Timer::repeating(services_.main, kStatusInterval, [this, alive = lifetime_.watch()] {
        if (alive) refresh();
    });
}

void ShortcutPermissions::stopMonitoring() { statusTimer_.cancel(); }

void ShortcutPermissions::showGuide() {
    dispatch::assertOn(services_.main, "ShortcutPermissions::showGuide");
    if (services_.ui == nullptr) {
        services_.urls.open(kAccessibilityURL);
        return;
    }
    closePanel(false);
    panel_ = services_.ui->makePanel(
        [this, alive = lifetime_.watch()] {
            if (alive) closePanel(true);
        },
        [this, alive = lifetime_.watch()] {
            if (alive) refresh();
        });
    started_ = services_.clock.uptime();
    guideTimer_ = dispatch::Timer::repeating(services_.main, kGuideInterval, [this, alive = lifetime_.watch()] {
        if (alive) poll();
    });
    services_.urls.open(kAccessibilityURL);
}

void ShortcutPermissions::closePanel(bool clearCompletion) {
    guideTimer_.cancel();
    if (panel_) {
        panel_->orderOut();
        panel_.reset();
    }
    if (clearCompletion) completion = nullptr;
}

void ShortcutPermissions::poll() {
    refresh();
    if (state_.accessibility) {
        auto taken = std::move(completion);
        closePanel(true);
        if (services_.ui != nullptr) services_.ui->activateProgram();
        if (taken) taken();
        return;
    }
    if (services_.clock.uptime() - started_ >= kGuideLimit) {
        closePanel(true);
        return;
    }
    place();
}

void ShortcutPermissions::place() {
    const auto front = services_.workspace.frontmostApplication();
    if (!front || front->bundleID != kSystemSettingsBundleID) {
        if (panel_) panel_->orderOut();
        return;
    }
    const auto list = services_.windowList.copyWindowList(
        accessibility::windowlist::onScreenOnly | accessibility::windowlist::excludeDesktopElements, 0);
    if (!list || !panel_ || !list->is_array()) return;
    std::vector<Listed> windows;
    for (const auto& entry : *list) windows.push_back(listed(entry));
    const auto window = PermissionGuidePlacement::settingsWindow(windows, front->pid);
    if (!window) {
        panel_->orderOut();
        return;
    }
    const auto screens = services_.screens.screens();
    const double flip = displays::primaryScreenHeight(screens);
    std::vector<PermissionGuidePlacement::Screen> candidates;
    for (const auto& screen : screens) {
        candidates.push_back({screen.frame, geometry::flippedVertically(screen.frame, flip),
                              geometry::flippedVertically(screen.visibleFrame, flip)});
    }
    const auto frame = PermissionGuidePlacement::panelFrame(*window, candidates);
    if (!frame) return;
    panel_->setFrame(*frame);
    if (!panel_->ignoresMouseEvents()) panel_->orderFrontRegardless();
}

}  // namespace dorvane
