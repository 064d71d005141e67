#include "Dorvane/Shell/Controller/ResolutionPanelPresenter.h"

#include <cmath>
#include <vector>

#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/ManualResolution.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/ResolutionPanelFrame.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::shell {

namespace {

// The panel stays invisible until its content reports a height, or this long.
constexpr double kResolutionRevealDelay = 0.35;
// Smaller height changes are measuring noise, not a new layout.
constexpr double kContentHeightThreshold = 0.5;

}  // namespace

ResolutionPanelPresenter::ResolutionPanelPresenter(Parts parts) : parts_(parts) {}

ResolutionPanelPresenter::~ResolutionPanelPresenter() { lifetime_.end(); }

geometry::Rect ResolutionPanelPresenter::frame(const displays::Screen& screen) {
    const Preferences& preferences = parts_.preferences.preferences();
    return resolutionPanelFrame(parts_.toolbar.panelFrame(), screen, parts_.screens.screens(), preferences.toolbarSide,
                                static_cast<int>(preferences.customPresets.size()), contentHeight_);
}

std::optional<displays::Screen> ResolutionPanelPresenter::screenOf(const geometry::Rect& frame) {
    const auto screens = parts_.screens.screens();
    std::vector<geometry::Rect> frames;
    for (const auto& screen : screens) frames.push_back(screen.frame);
    const auto index = windows::screenIndex(frame, frames);
    if (!index) return std::nullopt;
    return screens[*index];
}

ResolutionContent ResolutionPanelPresenter::makeContent() {
    ResolutionContent content;
    content.firstPresetID = parts_.model.preferences().selectedCustomID;
    content.close = weakly(parts_.host, lifetime_, [this] { parts_.host.dismissToolPanels(); });
    content.restore = weakly(parts_.host, lifetime_, [this] {
        parts_.host.dismissToolPanels();
        parts_.resolution.recover();
    });
    // Never from inside the view's update: the height is taken on a later turn.
    content.onContentHeight = weakly(parts_.host, lifetime_, [this](double height) {
        parts_.mainQueue.post(weakly(parts_.host, lifetime_, [this, height] { contentHeightChanged(height); }));
    });
    return content;
}

void ResolutionPanelPresenter::show(const displays::Screen& screen) {
    const ToolbarSide side = parts_.preferences.preferences().toolbarSide;
    // Measured before it shows, the content has its height from the first moment the panel
    // holds the keyboard, rather than a guess followed by a new frame.
    if (const auto measured = parts_.windows.prepareResolution(parts_.model, makeContent(), frame(screen), side)) {
        takeContentHeight(*measured);
    }
    // Until its content has reported a height, the first showing would flash at a guess.
    const bool hidden = !contentHeight_;
    parts_.windows.showResolution(frame(screen), side, hidden);
    if (hidden) {
        reveal_ = dispatch::Timer::once(parts_.mainQueue, kResolutionRevealDelay,
                                        weakly(parts_.host, lifetime_, [this] { parts_.windows.revealResolution(); }));
    }
}

bool ResolutionPanelPresenter::takeContentHeight(double height) {
    if (std::abs(contentHeight_.value_or(0) - height) <= kContentHeightThreshold) return false;
    contentHeight_ = height;
    return true;
}

void ResolutionPanelPresenter::contentHeightChanged(double height) {
    if (!takeContentHeight(height)) return;
    SettingsWindows& windows = parts_.windows;
    if (!windows.resolutionPanelExists()) return;
    std::optional<displays::Screen> screen;
    if (const auto current = windows.resolutionPanelFrame()) screen = screenOf(*current);
    if (!screen) screen = parts_.toolbar.actionScreen();
    if (!screen) return;
    const auto target = frame(*screen);
    if (windows.resolutionPanelFrame() != target) {
        windows.setResolutionFrame(target);
        windows.replaceResolutionContent(parts_.model, makeContent(), parts_.preferences.preferences().toolbarSide);
    }
    windows.revealResolution();
}

void ResolutionPanelPresenter::keepBesideToolbar() {
    if (!parts_.windows.resolutionPanelVisible()) return;
    const auto current = parts_.windows.resolutionPanelFrame();
    std::optional<displays::Screen> screen = current ? screenOf(*current) : std::nullopt;
    if (!screen) {
        const auto screens = parts_.screens.screens();
        if (screens.empty()) return;
        screen = screens.front();
    }
    const auto target = frame(*screen);
    if (current != target) parts_.windows.setResolutionFrame(target);
}

}  // namespace dorvane::shell
