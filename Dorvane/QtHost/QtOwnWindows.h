#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>

#include "Dorvane/Windows/OwnWindows.h"

class QWidget;

namespace dorvane::qthost {

// The program's own top-level Qt windows for the window commands. Frames are what
// setGeometry() takes, in Qt's global coordinates (the host's top-left points), as the
// host's window list shows them; a window's number comes from `numberOf` (the reporter
// that lists the windows in the host). Panels are tool windows and the overlay panels;
// a window is titled unless frameless, stays on top above level 0, is closable and
// miniaturizable by its title-bar hints and resizable while its minimum and maximum
// sizes differ. Closing honours the window's own closeEvent. Main thread only.
class QtOwnWindows final : public QObject, public windows::OwnWindows {
public:
    using NumberOf = std::function<std::optional<std::uint32_t>(const QWidget* window)>;

    explicit QtOwnWindows(NumberOf numberOf);
    QtOwnWindows(const QtOwnWindows&) = delete;
    QtOwnWindows& operator=(const QtOwnWindows&) = delete;

    std::optional<windows::OwnWindowID> keyWindow() override;
    // Qt knows no main window apart from the active one.
    std::optional<windows::OwnWindowID> mainWindow() override { return std::nullopt; }
    std::vector<windows::OwnWindowID> windows() override;
    std::optional<windows::OwnWindowState> state(windows::OwnWindowID window) override;

    void close(windows::OwnWindowID window) override;
    void minimize(windows::OwnWindowID window) override;
    void toggleFullScreen(windows::OwnWindowID window) override;
    void setFrame(windows::OwnWindowID window, const geometry::Rect& frame) override;

    dispatch::Observation observeKeyWindow(std::function<void()> handler) override;

    // The id a window goes by; made on first use.
    windows::OwnWindowID idOf(QWidget* window);
    QWidget* widget(windows::OwnWindowID window) const;

private:
    NumberOf numberOf_;
    std::map<windows::OwnWindowID, QPointer<QWidget>> windows_;
    windows::OwnWindowID nextID_ = 1;
};

}  // namespace dorvane::qthost
