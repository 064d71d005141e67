#pragma once

#include "Dorvane/QtHost/OwnWindowDirectory.h"
#include "Platform/Dispatch/Lifetime.h"

class QWidget;

namespace dorvane::qthost {

// Activation between Qt and the host, both ways, as a window system keeps it: a window Qt
// activates makes the program frontmost with it key; a panel that shows without
// activating takes the keyboard and leaves the frontmost application in front; when the
// host brings another application forward, or another window takes the keyboard, Qt
// hears that the program's windows resigned key; when the host gives one of the program's
// windows the keyboard, Qt makes it active.
class QtOwnActivation {
public:
    explicit QtOwnActivation(OwnWindowDirectory& windows) : windows_(windows) {}

    // Where the program stands as the reporter starts.
    void begin(const workspace::OwnActivation& now) { standing_ = now; }

    // Qt activated `window`: the host hears of it, for windows that take the keyboard.
    void activatedInQt(QWidget& window);
    // Makes `window` key and front at once, whatever Qt believed: with the program brought
    // forward, or for a panel that shows without activating, with the frontmost
    // application left in front.
    void activate(QWidget& window);
    // The host's frontmost application or its keyboard changed.
    void changedInHost(const workspace::OwnActivation& now);

    // Windows that make the program frontmost when activated.
    static bool activatesProgram(const QWidget& window);
    // Non-activating panels that still take the keyboard (a search field, tiles, Escape).
    static bool takesKeyboardWithoutActivating(const QWidget& window);

private:
    // The host hears that `window` was activated; false when it turned that away.
    bool report(QWidget& window);
    // Reports it once the host lets go.
    void tryAgain(QWidget& window);

    OwnWindowDirectory& windows_;
    // Where the program stood when last seen or reported.
    workspace::OwnActivation standing_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::qthost
