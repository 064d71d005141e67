#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QPixmap>
#include <QWidget>

#include "Dorvane/Input/InputServices.h"
#include "Dorvane/QtHost/MouseDetails.h"
#include "Dorvane/Visual/AccessibleControl.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Toolbar/ToolbarButtonFace.h"
#include "DorvaneCore/Toolbar/ToolbarButtonPress.h"
#include "DorvaneCore/Toolbar/ToolbarEntrance.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Timer.h"

namespace dorvane {

// What every button of one toolbar shares: where its lines go and what the host knows of
// the presses they describe, how screen positions turn into toolkit points, the host's
// number of a window, and the clock its entrance is timed on.
struct ToolbarButtonEnvironment {
    OperationLog log;
    std::function<ScreenSpace()> screenSpace;
    // The host's number of one of the program's windows; 0 when it has none.
    std::function<std::int64_t(const QWidget* window)> windowNumber;
    dispatch::Clock* clock = nullptr;
    dispatch::Executor* timers = nullptr;
    // The host's own values of a press or release, for its log lines; none: Qt's alone.
    qthost::HostMouseFactsSource hostMouseFacts;
};

// The one button of the floating toolbar: strip, footer and the collapsed handle. It never
// takes the focus. It paints its glyph (a symbol or an application's icon) and, on the
// strip, a 10.5-point caption under it.
//
// A press is its own state machine over Qt's implicit grab (press, moves, release): a
// tap, a press held until release, a drag that scrolls the strip (onScrollDrag, past 6
// points along the strip) or a drag of the whole toolbar (onDrag, past 10 points). A
// press whose grab is lost (the button hides or is disabled, a move comes without the
// button) ends without a tap. Positions are turned into toolkit points (bottom-left, y
// up) before the press classifier sees them.
class ToolbarButton final : public QWidget, public AccessibleControl {
public:
    ToolbarButton(const ToolbarButtonFace& face, std::shared_ptr<const ToolbarButtonEnvironment> environment,
                  QWidget* parent = nullptr);
    ~ToolbarButton() override;

    std::function<void()> onTap;
    std::function<void()> onPress;
    std::function<void()> onRelease;
    // Set: the press can drag the toolbar, reporting the panel's new toolkit origin.
    std::function<void(geometry::Point origin)> onDrag;
    // Set: the press can scroll the strip, reporting the step to add to its offset.
    std::function<void(double step)> onScrollDrag;
    bool dragsHorizontally = false;
    bool isCircular = false;
    bool selected = false;

    // Written into the log lines; empty for the handle.
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    const std::string& symbol() const { return symbol_; }
    const std::string& name() const { return name_; }
    bool labelled() const { return labelled_; }
    double glyphSize() const { return glyphSize_; }
    bool hovering() const { return hovering_; }
    bool highlighted() const { return highlighted_; }
    const std::string& hoverID() const { return hoverID_; }
    // While a press lasts.
    bool pressing() const { return pressing_; }

    // A new glyph and name; nothing when the name is the one shown (the symbol is not compared).
    void update(const std::string& symbol, const std::string& name);
    using QWidget::update;
    // The application's own picture instead of a symbol; never tinted.
    void setIcon(const QPixmap& icon);
    bool showsIcon() const { return !icon_.isNull(); }
    // Applies the colours of `selected`.
    void updateColors() { QWidget::update(); }

    // Slides in 10 points from the docked edge while growing past full size and fading in,
    // `delay` seconds from now; the start state shows during the delay.
    void animateEntrance(double delay, ToolbarSide side);
    // How the button is drawn now; the resting state once the entrance is over.
    ToolbarEntrance::State entranceState() const;
    bool entering() const { return entrance_.has_value(); }

    // Assistive technology's press: onPress, onRelease, onTap. False while disabled.
    bool accessibilityPerformPress();
    bool pressAccessibly() override { return accessibilityPerformPress(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Entrance {
        double start = 0;
        double delay = 0;
        ToolbarSide side = ToolbarSide::left;
    };

    geometry::Point toolkitPoint(QPointF global) const;
    geometry::Point windowOrigin() const;
    std::int64_t windowNumber() const;
    // The mouse details of a press or release for its log line.
    std::string describe(const QMouseEvent& event) const;
    void apply(const ToolbarButtonPress::Reaction& reaction);
    void abortPress();
    void finishPress();
    double now() const;
    void paintGlyph(QPainter& painter, const QColor& tint);
    // The soft light (dark in the dark appearance) halo behind glyph and caption.
    QPixmap halo(const QString& caption, const QFont& captionFont, const QRectF& captionFrame) const;

    std::shared_ptr<const ToolbarButtonEnvironment> environment_;
    std::string identifier_;
    std::string symbol_;
    std::string name_;
    bool labelled_;
    double glyphSize_;
    double symbolPointSize_;
    QPixmap icon_;
    std::string hoverID_;
    bool hovering_ = false;
    bool highlighted_ = false;
    bool pressing_ = false;
    std::optional<ToolbarButtonPress> press_;
    std::optional<Entrance> entrance_;
    dispatch::Timer entranceTimer_;
    dispatch::Observation hover_;
};

}  // namespace dorvane
