#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include <QObject>

#include "Platform/Dispatch/Observation.h"

class QEvent;
class QWindow;

namespace dorvane::qthost {

// The program's local event monitors: one event filter on the application that sees each
// input event once, where it enters one of the program's windows, before any widget does.
// A monitor may consume an event: later monitors and the widgets then never see it. The
// filter is installed while at least one monitor is registered. Main thread only.
class LocalEventMonitor final : public QObject {
public:
    enum Kind : unsigned {
        leftMouseDown = 1U << 0,
        leftMouseUp = 1U << 1,
        rightMouseDown = 1U << 2,
        rightMouseUp = 1U << 3,
        mouseMoved = 1U << 4,
        scrollWheel = 1U << 5,
        keyDown = 1U << 6,
    };

    // Called with the event and the window it arrived at; answers true to consume it.
    using Handler = std::function<bool(QEvent& event, QWindow& window)>;

    // Made on first use (after the QApplication) and kept for the program's life.
    static LocalEventMonitor& shared();

    // `kinds` is a combination of Kind bits. Monitors run in the order they were added.
    // Ending the observation removes the monitor, also from inside a handler.
    dispatch::Observation add(unsigned kinds, Handler handler);

    std::size_t monitorCount() const { return monitors_.size(); }
    // Whether the filter is installed on the application now.
    bool isInstalled() const { return installed_; }

    // The kind of an event as a monitor sees it; 0 for events no monitor can ask for.
    static unsigned kindOf(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Monitor {
        unsigned kinds = 0;
        Handler handler;
        bool removed = false;
    };

    LocalEventMonitor() = default;
    void remove(const std::shared_ptr<Monitor>& monitor);
    void updateInstallation();

    std::vector<std::shared_ptr<Monitor>> monitors_;
    bool installed_ = false;
};

}  // namespace dorvane::qthost
