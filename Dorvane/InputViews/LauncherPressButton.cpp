#include "Dorvane/InputViews/LauncherPressButton.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

namespace dorvane {

namespace {

geometry::Point pointOf(QPointF position) { return geometry::Point{position.x(), position.y()}; }

}  // namespace

LauncherPressButton::LauncherPressButton(Timing timing, QWidget* parent) : QAbstractButton(parent), timing_(timing) {
    setFocusPolicy(Qt::TabFocus);
    // Space on a focused tile ends in click(): the button's action.
    connect(this, &QAbstractButton::clicked, this, [this] { accessibilityPerformPress(); });
}

LauncherPressButton::~LauncherPressButton() { previewTimer_.cancel(); }

bool LauncherPressButton::accessibilityPerformPress() {
    if (!isEnabled()) return false;
    if (onTap) onTap();
    return true;
}

bool LauncherPressButton::showName() {
    if (!isEnabled()) return false;
    if (onPreview) onPreview();
    return true;
}

bool LauncherPressButton::inside(QPointF globalPosition) const {
    return QRectF(rect()).contains(mapFromGlobal(globalPosition));
}

void LauncherPressButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (!isEnabled() || window() == nullptr) return;
    apply(tracker_.begin(now(), pointOf(event->globalPosition())));
    if (!window()->isVisible()) endPress();
}

void LauncherPressButton::mouseMoveEvent(QMouseEvent* event) {
    if (!tracker_.active()) return;
    event->accept();
    // The release went elsewhere: the press is over, without a tap.
    if (!event->buttons().testFlag(Qt::LeftButton)) return endPress();
    apply(tracker_.move(now(), pointOf(event->globalPosition()), inside(event->globalPosition())));
}

void LauncherPressButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracker_.active()) return;
    event->accept();
    apply(tracker_.release(now(), pointOf(event->globalPosition()), inside(event->globalPosition())));
}

void LauncherPressButton::hideEvent(QHideEvent* event) {
    endPress();
    QAbstractButton::hideEvent(event);
}

void LauncherPressButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) endPress();
    QAbstractButton::changeEvent(event);
}

bool LauncherPressButton::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse) endPress();
    return QAbstractButton::event(event);
}

void LauncherPressButton::endPress() { apply(tracker_.end()); }

void LauncherPressButton::apply(const LauncherPressTracker::Reaction& reaction) {
    // A callback may hide the panel, or take this tile away later; nothing here after it goes.
    const QPointer<LauncherPressButton> self(this);
    if (reaction.highlight == true && onHighlight) onHighlight(true);
    if (reaction.scrollBy != 0) scrollEnclosing(reaction.scrollBy);
    if (reaction.preview && onPreview) onPreview();
    if (!self) return;
    if (reaction.tap && onTap) onTap();
    if (!self) return;
    if (reaction.highlight == false && onHighlight) onHighlight(false);
    if (!self) return;
    armPreviewTimer();
}

void LauncherPressButton::armPreviewTimer() {
    const auto deadline = tracker_.previewDeadline();
    if (deadline == previewArmedFor_) return;
    previewTimer_.cancel();
    previewArmedFor_ = deadline;
    if (!deadline) return;
    previewTimer_ = timing_.timers.postAfter(std::max(0.0, *deadline - now()), [self = QPointer<LauncherPressButton>(this)] {
        if (!self) return;
        self->previewArmedFor_.reset();
        if (self->tracker_.active()) self->apply(self->tracker_.timerFired(self->now()));
    });
}

void LauncherPressButton::scrollEnclosing(double delta) {
    QScrollArea* area = nullptr;
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr && area == nullptr; ancestor = ancestor->parentWidget()) {
        area = qobject_cast<QScrollArea*>(ancestor);
    }
    if (area == nullptr || area->widget() == nullptr) return;
    // Qt's content is laid out downwards: a finger moving up (positive delta) shows what lies below.
    QScrollBar* bar = area->verticalScrollBar();
    const double next = std::clamp(bar->value() + delta, 0.0, static_cast<double>(std::max(0, bar->maximum())));
    bar->setValue(static_cast<int>(std::lround(next)));
}

}  // namespace dorvane
