#pragma once

#include <optional>

#include <QPointer>

#include "DorvaneCore/Input/DragScrollGesture.h"
#include "Platform/Dispatch/Observation.h"

class QAbstractScrollArea;
class QEvent;
class QWidget;
class QWindow;

namespace dorvane {

// Touch-like scrolling in one of the program's windows: a finger on the remote device
// reaches the window as a left-button press and drag, and a mostly vertical drag that
// starts in a scrollable view moves its content with the pointer. It sees the window's
// presses, moves and releases (through the program's local event monitor) before its
// widgets do; other windows' events are left alone. The press always reaches the widget
// under it; once a drag scrolls, its moves are consumed and the release is moved far
// outside the window, so the pressed control does not fire.
//
//   dragScroll_ = std::make_unique<WindowDragScroll>(this);  // in the root view, kept while it lives
//
// Main thread only.
class WindowDragScroll {
public:
    // Where the pressed widget is told the button went up after a scroll.
    static constexpr double kFarAway = -10000;

    // For the window `view` is in (or is), whenever it is in one.
    explicit WindowDragScroll(QWidget* view);
    ~WindowDragScroll();

    WindowDragScroll(const WindowDragScroll&) = delete;
    WindowDragScroll& operator=(const WindowDragScroll&) = delete;

    // Text views, sliders, editable line edits and operation-card grips, or anything inside one.
    static bool isExcluded(const QWidget* widget);
    // The nearest scroll area at or above the widget; null when there is none.
    static QAbstractScrollArea* scrollView(QWidget* widget);

    // One event at one of the program's windows; true consumes it.
    bool handle(QEvent& event, QWindow& window);

private:
    QPointer<QWidget> view_;
    dispatch::Observation monitor_;
    std::optional<DragScrollGesture> gesture_;
    QPointer<QAbstractScrollArea> scrollView_;
};

}  // namespace dorvane
