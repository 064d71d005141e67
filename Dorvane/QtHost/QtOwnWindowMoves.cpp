#include "Dorvane/QtHost/QtOwnWindowMoves.h"

#include <cmath>
#include <optional>

#include <QRect>
#include <QWidget>

namespace dorvane::qthost {

namespace {

QRect wholePixels(const geometry::Rect& frame) {
    return QRect(static_cast<int>(std::lround(frame.x)), static_cast<int>(std::lround(frame.y)),
                 static_cast<int>(std::lround(frame.width)), static_cast<int>(std::lround(frame.height)));
}

}  // namespace

void QtOwnWindowMoves::changedByHost(std::uint32_t number) {
    QWidget* window = windows_.widget(number);
    workspace::OwnWindow* shown = window == nullptr ? nullptr : windows_.shown(window);
    if (shown == nullptr) return;
    std::optional<workspace::OwnWindowPlace> place;
    if (!windows_.attempt([&] { place = windows_.host().place(number); }) || !place) return;
    const bool moved = place->frame != shown->frame;
    const bool minimised = place->minimised != shown->minimised;
    // The program's own report coming back: nothing to apply.
    if (!moved && !minimised) return;
    // The list holds the user's frame now; what the window makes of it is reported against it.
    shown->frame = place->frame;
    shown->minimised = place->minimised;
    // setGeometry() keeps the window's own minimum and maximum size.
    if (moved) window->setGeometry(wholePixels(place->frame));
    if (minimised) {
        const auto state = window->windowState();
        window->setWindowState(place->minimised ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
    }
    windows_.schedule(window);
}

}  // namespace dorvane::qthost
