#pragma once

#include <functional>
#include <optional>

#include <QAbstractButton>

#include "DorvaneCore/Launcher/LauncherPressTracker.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane {

// The press handling of a launcher tile: it tells a tap (launch), a long press (show the
// name) and a drag (scroll the list the tile sits in, as a finger would) apart by itself.
// A press is a state machine over press, move and release events with a timer for the
// preview, so the name shows at 0.45 s even while the pointer holds still. A press that
// loses its release (the window hides, the tile is disabled or loses the mouse, a move
// arrives without the button) ends without a tap. Space activates it from the keyboard;
// assistive technology presses it or shows the name ("显示名称"). The subclass draws it.
class LauncherPressButton : public QAbstractButton {
public:
    // The clock presses are timed on, and where the preview timer runs.
    struct Timing {
        dispatch::Clock& clock;
        dispatch::Executor& timers;
    };

    static constexpr const char* showNameAction = "显示名称";

    LauncherPressButton(Timing timing, QWidget* parent = nullptr);
    ~LauncherPressButton() override;

    // Each does nothing until set.
    std::function<void()> onTap;
    std::function<void()> onPreview;
    std::function<void(bool)> onHighlight;

    // The button's action (keyboard activation) and assistive technology's press: a tap
    // while enabled. Answer whether it was enabled.
    bool accessibilityPerformPress();
    // The custom action: shows the name while enabled.
    bool showName();

    const LauncherPressTracker& tracker() const { return tracker_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    double now() const { return timing_.clock.uptime(); }
    bool inside(QPointF globalPosition) const;
    // Acts on what the tracker decided, then keeps the preview timer in step.
    void apply(const LauncherPressTracker::Reaction& reaction);
    void armPreviewTimer();
    void endPress();
    void scrollEnclosing(double delta);

    Timing timing_;
    LauncherPressTracker tracker_;
    dispatch::TimerHandle previewTimer_;
    std::optional<double> previewArmedFor_;
};

}  // namespace dorvane
