#include "Dorvane/Visual/ToggleSwitch.h"

#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

ToggleSwitch::ToggleSwitch(const QString& accessibleLabel, ControlSize size, QWidget* parent)
    : QAbstractButton(parent), controlSize_(size) {
    setAccessibleName(accessibleLabel);
    setCheckable(false);
    setFocusPolicy(controlFocusPolicy);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A copy: the owner may rebuild its view, this switch included.
        if (const auto change = onChange) change(!on_);
    });
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize ToggleSwitch::trackSize(ControlSize size) {
    switch (size) {
        case ControlSize::regular: return DesignTokens::switchRegular;
        case ControlSize::small: return DesignTokens::switchSmall;
        case ControlSize::mini: return DesignTokens::switchMini;
    }
    return DesignTokens::switchRegular;
}

void ToggleSwitch::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    announceChecked(this);
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
    const double knob = track.height() - 2 * DesignTokens::switchKnobInset;
    const double left = on_ ? track.right() - DesignTokens::switchKnobInset - knob : track.left() + DesignTokens::switchKnobInset;
    const QRectF knobRect(left, track.top() + DesignTokens::switchKnobInset, knob, knob);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DesignTokens::Colors::controlShadow.resolved(dark));
    painter.drawEllipse(knobRect.translated(0, 0.5));
    painter.setBrush(DesignTokens::Colors::switchKnob.resolved(dark));
    painter.drawEllipse(knobRect);
}

}  // namespace dorvane
