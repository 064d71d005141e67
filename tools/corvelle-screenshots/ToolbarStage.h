#pragma once

#include <memory>
#include <optional>

#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::screenshots {

// The real floating toolbar over the screenshot host, put into the states the pictures
// show: docked on a side, collapsed, a flyout open, many buttons, a companion beside it.
// Without motion: every state is there at once.
class ToolbarStage {
public:
    ToolbarStage(host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock);
    ~ToolbarStage();

    FloatingSwitcher& toolbar() { return *toolbar_; }
    // Expanded on `side` with these settings (the defaults plus a few shortcuts when none).
    void expand(ToolbarSide side, const std::optional<Preferences>& preferences = std::nullopt);
    void collapse();
    void hide() { toolbar_->setEnabled(false); }
    // An application of the host with a window, in front, with shortcuts kept for it; the
    // settings that offer them.
    Preferences withFrontApplicationShortcuts();
    // As many shortcuts as make `count` buttons with the three default actions.
    static Preferences withOperations(int count);
    // The panel of `action` (the launcher's, the resolution panel) is open beside the
    // toolbar: its button marked, the surfaces joined; none when empty.
    void companionOpen(std::optional<FloatingAction> action);

private:
    host::SimulatedHost& host_;
    dispatch::SerialQueue catalogQueue_{"catalog"};
    std::unique_ptr<windows::ApplicationWindowCatalog> catalog_;
    std::unique_ptr<FloatingSwitcher> toolbar_;
};

}  // namespace dorvane::screenshots
