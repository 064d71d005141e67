#pragma once

#include <functional>
#include <memory>

#include "Platform/StatusBar/StatusBar.h"

class QMenu;
class QSystemTrayIcon;

namespace dorvane::qthost {

// The status item in the simulated host, mirrored as a QSystemTrayIcon with a QMenu
// where the desktop has a system tray. One menu model feeds both: entries chosen in the
// tray reach the same handler as clicks from `corvelle-host statusbar click`.
class TrayStatusBar final : public statusbar::StatusBar {
public:
    // The tray is used only when `useTray` and the desktop has one.
    TrayStatusBar(statusbar::StatusBar& host, bool useTray);
    ~TrayStatusBar() override;

    void publish(const statusbar::StatusItem& item) override;
    void remove() override;
    dispatch::Observation observeClicks(ClickHandler handler) override;

    bool hasTray() const { return static_cast<bool>(tray_); }
    // Called before the tray menu opens, so it shows current states.
    std::function<void()> onMenuWillOpen;

private:
    void rebuildMenu(const statusbar::StatusItem& item);

    statusbar::StatusBar& host_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::shared_ptr<ClickHandler> handler_;
};

}  // namespace dorvane::qthost
