#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>

#include "Dorvane/QtHostBase/OwnWindowProperties.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Workspace/OwnWindows.h"

class QMouseEvent;
class QWidget;
class QWindow;

namespace dorvane::qthost {

// What the host's window list shows of a top-level widget: title, geometry in Qt's global
// coordinates (the host's points), a title bar unless frameless or a popup kind, level
// 3 for Qt::Tool or stays-on-top windows and 0 otherwise (unless the property says),
// on screen while visible, and whether minimised.
workspace::OwnWindow describeOwnWindow(const QWidget& window);

// Reports the program's top-level Qt windows into the host's window list, and is the
// window system for them: the host's input on them is handed to Qt as a platform hands its
// own (keys to the focused window, the pointer and the wheel to the window under it), so
// that focus, shortcuts, window-level monitors, enter and leave, hover and wheel
// propagation all see it; the host's moves, resizes, minimising and closing are applied
// to the Qt window, and the list then follows what the window became.
// Made once on the main thread, after the QApplication; one application-wide event filter.
//
//   QtOwnWindowReporter reporter(host->ownWindows(), std::cerr);
//   reporter.start();                    // the program is an application of the host now
//   window.show();                       // listed now; reporter.number(&window) answers
//   window.move(200, 120);               // reported once the event loop turns (or flush())
//
// A window is added when first shown; shows, hides, title, state, flag and level changes
// are reported at once, moves and resizes coalesced until the loop turns; activation
// raises it and makes the program frontmost, except for windows that take no focus
// (Qt::WindowDoesNotAcceptFocus or WA_ShowWithoutActivating); destruction (or the
// reporter's own end) removes it. Activation also runs the other way: when the host brings
// another application forward (or the user's session resigns), Qt hears that the program
// lost activation and its windows resign key; when the host brings the program forward
// with one of its windows key, Qt makes that window active. The pointer moving on to
// another application's window is a leave for the program's window it was over. A window the host closes is closed as its close button
// would (the settings window hides), and listed afresh when it shows again. Host failures
// are said once on `errors` and never stop the program. A window the host moves or
// resizes keeps its own limits (a fixed-size window keeps its size); one it minimises or
// brings back is minimised or brought back in Qt.
class QtOwnWindowReporter final : public QObject {
public:
    QtOwnWindowReporter(workspace::OwnWindows& host, std::ostream& errors);
    ~QtOwnWindowReporter() override;
    QtOwnWindowReporter(const QtOwnWindowReporter&) = delete;
    QtOwnWindowReporter& operator=(const QtOwnWindowReporter&) = delete;

    // Registers the program as the host's accessory application, lists the windows
    // already visible and starts following them and the host's clicks. Once only.
    void start();

    // The host's number of a reported window; none for a widget not (yet) listed.
    std::optional<std::uint32_t> number(const QWidget* window) const;
    // The widget a number stands for; null when none of the program's windows has it.
    QWidget* widget(std::uint32_t number) const;

    // Reports the moves and resizes still waiting for the loop to turn.
    void flush();

    // Brings the program forward with `window` key, as an activation that ignores the
    // other applications does: Qt makes the window active and the host raises it and makes
    // the program frontmost, whatever application was in front and whatever Qt believed.
    // The platform's own focus follows. A window that takes no focus is left as it is.
    void activate(QWidget& window);

    // The host's click that `event` is, while it is being handed to the widget under the
    // pointer: a press or release at the same place. None for any other event.
    std::optional<workspace::OwnWindowClick> clickBeingDelivered(const QMouseEvent& event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Reported {
        QWidget* widget = nullptr;
        std::uint32_t number = 0;
        workspace::OwnWindow shown;
        QMetaObject::Connection destroyed;
    };

    // Brings the host's entry of `window` up to date, adding it when visible and new.
    void sync(QWidget* window);
    void schedule(QWidget* window);
    void activated(QWidget* window);
    void forget(const QObject* window);
    // The host no longer lists `window`: its entry goes, so that showing it lists it afresh.
    void unlist(QWidget* window);
    void removedByHost(std::uint32_t number);
    void deliver(const workspace::OwnWindowClick& click);
    // Keys go to the focused window, pointer moves, right clicks and the wheel to the
    // window under the point.
    void deliverEvent(const events::Event& event, std::uint32_t window);
    void deliverKey(const events::Event& event);
    void deliverPointer(const events::Event& event, QWidget& window);
    void deliverWheel(const events::Event& event, QWidget& window);
    // The window the pointer's events go to: the one holding a pressed button, else the
    // one under the point; Qt hears of the pointer leaving one and entering the other.
    QWindow* pointerWindow(QWidget& under, QPointF global);
    // The host changed its record of `number`: a move, resize or minimise that is not the
    // program's own report is applied to the Qt window.
    void changedByHost(std::uint32_t number);

    // The host's frontmost application changed: Qt hears what it means for the program.
    void hostActivationChanged(const workspace::OwnActivation& now);
    // The pointer went on to another application's window or the desktop.
    void pointerLeft();

    bool ensureRegistered();
    // Runs a host call; false (said once until a call succeeds again) when it throws.
    template <typename Call>
    bool attempt(Call&& call);

    workspace::OwnWindows& host_;
    std::ostream& errors_;
    bool started_ = false;
    bool registered_ = false;
    bool failing_ = false;
    std::map<const QObject*, Reported> reported_;
    std::vector<QPointer<QWidget>> pending_;
    bool flushQueued_ = false;
    dispatch::Observation clicks_;
    dispatch::Observation events_;
    dispatch::Observation removals_;
    dispatch::Observation changes_;
    dispatch::Observation activations_;
    dispatch::Observation elsewhere_;
    // Where the program stood when last seen or reported.
    workspace::OwnActivation standing_;
    QPointer<QWindow> pointerWindow_;
    Qt::MouseButtons buttons_;
    std::optional<workspace::OwnWindowClick> delivering_;
};

}  // namespace dorvane::qthost
