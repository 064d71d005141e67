#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "Dorvane/Engine/EngineStatus.h"
#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/StatusBar/StatusBar.h"

namespace dorvane::shell {

// The status item as the status bar shows it: its image, tooltip and menu, published
// only when something changed. A publish the status bar turned away is its own to bring
// about once the host lets go (the host's catch-up); the first of a run of them is said on
// standard error. Main thread only.
class StatusMenuPresenter {
public:
    StatusMenuPresenter(statusbar::StatusBar& statusBar, ApplicationPlatform& platform, std::ostream& errors);
    ~StatusMenuPresenter();
    StatusMenuPresenter(const StatusMenuPresenter&) = delete;
    StatusMenuPresenter& operator=(const StatusMenuPresenter&) = delete;

    // The item without a menu, as launch first shows it.
    void publishIdle();
    // Adds the menu; a click on an entry goes to `choose`, which answers whether it ran one.
    void addMenu(std::function<bool(const std::string&)> choose);
    void render(const EngineStatus& status, bool toolbarShown, bool restoreEnabled);
    // The toolbar entry's check mark, just before the menu opens.
    void refreshToolbarEntry(bool toolbarShown);
    // Whether the menu has an enabled entry with this title.
    bool offers(const std::string& title) const;

    const std::optional<statusbar::StatusItem>& item() const { return item_; }

private:
    std::string image(bool active);
    void publish(const statusbar::StatusItem& item);

    statusbar::StatusBar& statusBar_;
    ApplicationPlatform& platform_;
    std::ostream& errors_;
    std::optional<statusbar::StatusItem> item_;
    bool published_ = false;
    bool failing_ = false;
    dispatch::Observation clickObservation_;
};

}  // namespace dorvane::shell
