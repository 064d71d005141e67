#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "Dorvane/QtHost/OwnWindowDirectory.h"
#include "Dorvane/QtHost/QtOwnActivation.h"
#include "Dorvane/QtHost/QtOwnKeyDelivery.h"
#include "Dorvane/QtHost/QtOwnPointerDelivery.h"
#include "Dorvane/QtHost/QtOwnWindowMoves.h"
#include "Dorvane/QtHostBase/OwnWindowProperties.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Workspace/OwnWindows.h"

class QMouseEvent;
class QWidget;

namespace dorvane::qthost {

// What the host's window list shows of a top-level widget: title, geometry in Qt's global
// coordinates (the host's points), a title bar unless frameless or a popup kind, level
// 3 for Qt::Tool or stays-on-top windows and 0 otherwise (unless the property says),
// on screen while visible, and whether minimised.
workspace::OwnWindow describeOwnWindow(const QWidget& window);

// Reports the program's top-level Qt windows into the host's window list, and is the
// window system for them. Made once on the main thread, after the QApplication; one
// application-wide event filter.
//
//   QtOwnWindowReporter reporter(host->ownWindows(), std::cerr);
//   reporter.start();                    // the program is an application of the host now
//   window.show();                       // listed now; reporter.number(&window) answers
//   window.move(200, 120);               // reported once the event loop turns (or flush())
//
// A window is added when first shown; shows, hides, title, state, flag and level changes
// are reported at once, moves and resizes coalesced until the loop turns; destruction (or
// the reporter's own end) removes it. A window the host closes is closed as its close
// button would (the settings window hides), and listed afresh when it shows again. Host
// failures are said once on `errors` and never stop the program. Its other jobs each have
// a class of their own: activation both ways (QtOwnActivation), keys (QtOwnKeyDelivery),
// the pointer with enter and leave (QtOwnPointerDelivery), the wheel (deliverWheel) and the
// host's moves and minimising (QtOwnWindowMoves).
class QtOwnWindowReporter final : public QObject, private OwnWindowDirectory {
public:
    QtOwnWindowReporter(workspace::OwnWindows& host, std::ostream& errors);
    ~QtOwnWindowReporter() override;
    QtOwnWindowReporter(const QtOwnWindowReporter&) = delete;
    QtOwnWindowReporter& operator=(const QtOwnWindowReporter&) = delete;

    // Registers the program as the host's accessory application, lists the windows
    // already visible and starts following them and the host's clicks. Once only.
    void start();

    // The host's number of a reported window; none for a widget not (yet) listed.
    std::optional<std::uint32_t> number(const QWidget* window) const override;
    // The widget a number stands for; null when none of the program's windows has it.
    QWidget* widget(std::uint32_t number) const override;

    // Reports the moves and resizes still waiting for the loop to turn.
    void flush();

    // Makes `window` key and front at once, whatever Qt believed: Qt makes it active before
    // this returns, and the host raises it and, as an activation that ignores the other
    // applications does, makes the program frontmost; a panel shown without activating
    // takes the keyboard and leaves the frontmost application in front. The platform's own
    // focus follows. A window that takes no focus is left as it is.
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

    // OwnWindowDirectory, for the jobs.
    workspace::OwnWindows& host() override { return host_; }
    std::optional<std::uint32_t> listNow(QWidget* window) override;
    workspace::OwnWindow* shown(const QWidget* window) override;
    void schedule(QWidget* window) override;
    bool attempt(const std::function<void()>& call) override;
    void tryAgainLater(const std::string& key, std::function<bool()> retry) override;

    // Brings the host's entry of `window` up to date, adding it when visible and new; again
    // once the host lets go when it turned the report away.
    void sync(QWidget* window);
    // False when the host turned the report away.
    bool syncNow(QWidget* window);
    // Takes `number` out of the host's list, now or once the host lets go.
    void remove(std::uint32_t number);
    // What the host turned away is reported once it lets go, as nothing else may change the
    // window for a long time: the window's state as it is then, and the removal.
    void catchUpLater(QWidget* window, std::optional<std::uint32_t> removal);
    // True when everything waiting reached the host.
    bool catchUp();
    void forget(const QObject* window);
    // The host no longer lists `window`: its entry goes, so that showing it lists it afresh.
    void unlist(QWidget* window);
    void removedByHost(std::uint32_t number);
    void deliverClick(const workspace::OwnWindowClick& click);
    // Keys go to the key window, pointer moves, right clicks and the wheel to the window
    // under the point.
    void deliverEvent(const events::Event& event, std::uint32_t window);
    void observeHost();

    bool ensureRegistered();

    workspace::OwnWindows& host_;
    std::ostream& errors_;
    bool started_ = false;
    bool registered_ = false;
    bool failing_ = false;
    std::string lastFailure_;
    std::map<const QObject*, Reported> reported_;
    std::vector<QPointer<QWidget>> pending_;
    // Reports and removals the host turned away, waiting for it to let go.
    std::vector<QPointer<QWidget>> unsynced_;
    std::vector<std::uint32_t> unremoved_;
    bool flushQueued_ = false;
    QtOwnActivation activation_{*this};
    QtOwnKeyDelivery keys_{*this};
    QtOwnPointerDelivery pointer_;
    QtOwnWindowMoves moves_{*this};
    std::vector<dispatch::Observation> observations_;
};

}  // namespace dorvane::qthost
