#pragma once

#include <QHideEvent>
#include <QWidget>

namespace dorvane {

// Whether `widget` hides because its window goes away for a while — ordered out, closed
// (the program's windows only hide then) or minimised — rather than because it, or the part
// of the window holding it, was put away. Whatever the user left in it then stays for the
// window's return.
inline bool hidesWithItsWindow(const QWidget& widget, const QHideEvent& event) {
    // Minimising hides through the window system; ordering out and closing hide the window
    // first, its children after it.
    return event.spontaneous() || !widget.window()->isVisible();
}

}  // namespace dorvane
