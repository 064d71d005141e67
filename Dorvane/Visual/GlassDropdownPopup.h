#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSizeF>

#include "Dorvane/Visual/DropdownMenuView.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane {

// The open list of a glass dropdown: a glass panel beside the trigger, transient for the
// trigger's window, and the monitors that route keys and close the list. The panel is only
// ever ordered front, never given the focus, so keys keep arriving at the trigger's window
// and reach the list through the application's event filter; letters and every other key
// pass on. Every handler holds the popup weakly and does nothing once it is gone.
class GlassDropdownPopup final : public QObject {
public:
    struct Handlers {
        std::function<bool(std::uint16_t keyCode)> key;  // true: the key was used (and is consumed)
        std::function<void(int row)> select;             // a click on a row
        std::function<void(int row)> hover;              // the pointer entered a row
        // A click outside the list (here or in another application), or the trigger's
        // window losing the focus, moving or closing.
        std::function<void()> dismiss;
    };

    explicit GlassDropdownPopup(Handlers handlers);
    ~GlassDropdownPopup() override;

    // Where the list must stay, in Qt's global space, for a trigger at this frame; when it
    // is not given or answers none, the trigger's Qt screen.
    using ScreenBounds = std::function<std::optional<QRect>(const QRect& trigger)>;
    void setScreenBounds(ScreenBounds bounds) { screenBounds_ = std::move(bounds); }

    // Shows `model` in a panel of `requestedSize` below the trigger (above it when the list
    // does not fit below and there is more room there), at least as wide as the trigger and
    // kept inside the visible frame of the trigger's screen. False, and nothing opened, when
    // the trigger is not in a shown window.
    bool open(QWidget* trigger, const QString& label, QSizeF requestedSize, DropdownMenuModel model);
    // Redraws the open list in place.
    void render(DropdownMenuModel model);
    // Removes the monitors and observers, orders the panel out and lets it go. Harmless
    // while closed.
    void close();

    // The visible frames of the screens lists are kept inside (Qt's global space), the
    // host's when the Qt host sets them at start: Qt's own screens need not be the host's
    // (offscreen has one of 800 × 600). Unset or empty, Qt's screens are used. Main thread.
    using ScreenAreas = std::function<std::vector<QRect>()>;
    static void setScreenAreas(ScreenAreas areas);
    // The area a list opened from `trigger` (Qt's global space) is kept inside: the visible
    // frame that holds the trigger's centre, else the one it overlaps most, else the first.
    static QRect screenArea(const QRect& trigger, const QWidget& triggerWidget);

    bool isOpen() const { return panel_ != nullptr; }
    GlassPanel* panel() const { return panel_; }
    DropdownMenuView* menu() const { return menu_; }
    // The trigger's frame when the list opened (Qt's global space).
    QRect triggerFrame() const { return triggerFrame_; }
    // Monitors and observers installed now.
    std::size_t monitorCount() const { return monitors_.size() + (observedWindow_ ? 1 : 0); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installMonitors(QWidget* parentWindow);
    bool isInsideList(const QWindow& window, QPointF globalPosition) const;
    void dismiss();

    Handlers handlers_;
    ScreenBounds screenBounds_;
    QPointer<GlassPanel> panel_;
    QPointer<DropdownMenuView> menu_;
    QPointer<QWidget> observedWindow_;
    std::vector<dispatch::Observation> monitors_;
    QRect triggerFrame_;
};

}  // namespace dorvane
