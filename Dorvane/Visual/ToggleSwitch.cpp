#include "Dorvane/Visual/ToggleSwitch.h"

#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

constexpr double kKnobInset = 2;

}  // namespace

ToggleSwitch::ToggleSwitch(const QString& accessibleLabel, ControlSize size, QWidget* parent)
    : QAbstractButton(parent), controlSize_(size) {
    setAccessibleName(accessibleLabel);
    setCheckable(false);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A copy: the owner may rebuild its view, this switch included.
        if (const auto change = onChange) change(!on_);
    });
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize ToggleSwitch::trackSize(ControlSize size) {
    switch (size) {
        case ControlSize::regular: return QSize(38, 22);
        case ControlSize::small: return QSize(32, 18);
        case ControlSize::mini: return QSize(26, 15);
    }
    return QSize(38, 22);
}

void ToggleSwitch::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
}

void ToggleSwitch::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : DesignTokens::disabledOpacity);
    const QSizeF size = trackSize(controlSize_);
    const QRectF track(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    QPainterPath pill;
    pill.addRoundedRect(track, track.height() / 2, track.height() / 2);
    QColor fill = (on_ ? DesignTokens::Colors::accent : DesignTokens::Colors::switchTrackOff).resolved(dark);
    if (isDown()) fill = fill.darker(110);
    painter.fillPath(pill, fill);
    const double knob = track.height() - 2 * kKnobInset;
    const double left = on_ ? track.right() - kKnobInset - knob : track.left() + kKnobInset;
    const QRectF knobRect(left, track.top() + kKnobInset, knob, knob);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(knobRect.translated(0, 0.5));
    painter.setBrush(DesignTokens::Colors::switchKnob.resolved(dark));
    painter.drawEllipse(knobRect);
}

}  // namespace dorvane
