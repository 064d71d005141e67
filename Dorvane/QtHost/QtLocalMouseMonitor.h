#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QEvent>
#include <QObject>
#include <QPointer>

#include "Dorvane/Windows/LocalMouseMonitor.h"

class QWidget;

namespace dorvane::qthost {

class QtOwnWindows;

// The left-button presses and releases of the program's own Qt windows, seen through one
// application-wide event filter while at least one handler is registered. The filter
// never consumes an event, so every click still reaches its widget. A press or release
// that a widget ignores travels on to its parents; each is reported once. Locations are
// Qt's global coordinates (the host's top-left points); windows are named through
// `ownWindows`. Main thread only, after the QApplication.
class QtLocalMouseMonitor final : public QObject, public windows::LocalMouseMonitor {
public:
    explicit QtLocalMouseMonitor(QtOwnWindows& ownWindows);
    ~QtLocalMouseMonitor() override;
    QtLocalMouseMonitor(const QtLocalMouseMonitor&) = delete;
    QtLocalMouseMonitor& operator=(const QtLocalMouseMonitor&) = delete;

    std::optional<dispatch::Observation> addLocalMouseMonitor(
        std::function<void(const windows::LocalMouseEvent&)> handler) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = std::function<void(const windows::LocalMouseEvent&)>;
    struct Handlers {
        std::map<std::uint64_t, Handler> byToken;
        std::uint64_t next = 1;
    };

    void remove(std::uint64_t token);

    QtOwnWindows& ownWindows_;
    std::shared_ptr<Handlers> handlers_ = std::make_shared<Handlers>();
    bool filtering_ = false;
    // The widget the last reported event went to, to recognise its travel to the parents.
    QPointer<QWidget> lastReceiver_;
    QEvent::Type lastType_ = QEvent::None;
};

}  // namespace dorvane::qthost
