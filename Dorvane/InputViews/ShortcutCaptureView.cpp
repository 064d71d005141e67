#include "Dorvane/InputViews/ShortcutCaptureView.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/WindowHiding.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane {

using events::Event;
using events::EventType;
using Caption = ShortcutCapture::Caption;

namespace {

// The field's own look: a rounded field, inset from the bounds, with a red dot before the
// recording prompt.
constexpr double kInset = 1;
constexpr double kRecordingFillAlpha = 0.08;
constexpr double kRecordingStrokeAlpha = 0.65;
constexpr double kRecordingStroke = 1.5;
constexpr double kIdleStrokeAlpha = 0.4;
constexpr double kIdleStroke = 1;
constexpr double kDotSize = 8;
constexpr double kDotX = 14;
constexpr double kRecordingTextX = 28;
constexpr QSize kPreferredSize{240, 52};

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(color.alphaF() * alpha));
    return color;
}

std::optional<ShortcutCapture::TapEvent::Type> tapType(EventType type) {
    using Type = ShortcutCapture::TapEvent::Type;
    switch (type) {
        case EventType::keyDown: return Type::keyDown;
        case EventType::keyUp: return Type::keyUp;
        case EventType::flagsChanged: return Type::flagsChanged;
        case EventType::tapDisabledByTimeout:
        case EventType::tapDisabledByUserInput: return Type::disabled;
        default: return std::nullopt;
    }
}

}  // namespace

ShortcutCaptureView::ShortcutCaptureView(Services services, QWidget* parent)
    : QWidget(parent), services_(services) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    DesignTokens::repaintOnAppearanceChange(this);
}

ShortcutCaptureView::~ShortcutCaptureView() { stopTap(); }

void ShortcutCaptureView::setBoundKey(const std::optional<ShortcutKey>& key) {
    capture_.setBoundKey(key);
    update();
}

QSize ShortcutCaptureView::sizeHint() const { return kPreferredSize; }

bool ShortcutCaptureView::event(QEvent* event) {
    if (capture_.recording()) {
        // While recording, every key is the field's: no shortcut takes it, Tab moves no focus.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QWidget::event(event);
}

void ShortcutCaptureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    auto& permissions = services_.permissions;
    permissions.refresh();
    if (!permissions.state().accessibility) {
        permissions.completion = [view = QPointer<ShortcutCaptureView>(this)] {
            if (view) view->beginRecording();
        };
        permissions.showGuide();
        return;
    }
    beginRecording();
}

void ShortcutCaptureView::beginRecording() {
    setFocus(Qt::MouseFocusReason);
    capture_.begin();
    startTap();
    update();
}

void ShortcutCaptureView::startTap() {
    stopTap();
    tap_ = services_.events.createTap(
        events::TapLocation::hid, events::TapPlacement::headInsert, events::TapOptions::active, kTapMask,
        [this](const events::TapProxy&, EventType type, const Event& event) {
            // The tap goes, on this queue, before the view does.
            return intercept(type, event);
        },
        services_.main);
    if (!tap_) capture_.tapUnavailable();
}

void ShortcutCaptureView::stopTap() {
    if (!tap_) return;
    tap_->setEnabled(false);
    tap_->invalidate();
    tap_.reset();
}

std::optional<Event> ShortcutCaptureView::intercept(EventType type, const Event& event) {
    dispatch::assertOn(services_.main, "ShortcutCaptureView::intercept");
    const auto kind = tapType(type);
    if (!kind) return event;
    const auto answer = capture_.intercept({*kind, event.keyCode(), event.flags, false});
    if (answer.removeTap) stopTap();
    captured(answer.captured);
    update();
    if (answer.swallow) return std::nullopt;
    return event;
}

void ShortcutCaptureView::captured(const std::optional<ShortcutKey>& key) {
    if (!key) return;
    update();
    if (onCapture) onCapture(*key);
}

void ShortcutCaptureView::capturedThroughQt(const std::optional<ShortcutKey>& key) {
    // The tap saw none of these keys, so it has nothing left to drain.
    if (key) stopTap();
    captured(key);
}

void ShortcutCaptureView::keyPressEvent(QKeyEvent* event) {
    if (!capture_.recording()) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    const auto* key = KeyboardLayout::keyForQtKey(event->key(), keypad);
    if (key == nullptr) return;
    const std::uint64_t flags = KeyboardLayout::flagsFromQtModifiers(static_cast<int>(event->modifiers())) | key->ownFlags;
    if (const auto mask = ShortcutEventPlan::mask(key->code)) {
        // The platforms differ on whether a modifier's own press carries its bit.
        capturedThroughQt(capture_.flagsChanged(key->code, flags | *mask));
        return;
    }
    capturedThroughQt(capture_.keyDown(key->code, flags, event->isAutoRepeat()));
}

void ShortcutCaptureView::keyReleaseEvent(QKeyEvent* event) {
    const auto* key = KeyboardLayout::keyForQtKey(event->key(), event->modifiers().testFlag(Qt::KeypadModifier));
    const auto mask = key != nullptr ? ShortcutEventPlan::mask(key->code) : std::nullopt;
    if (!capture_.recording() || !mask || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    const std::uint64_t flags = KeyboardLayout::flagsFromQtModifiers(static_cast<int>(event->modifiers()));
    capturedThroughQt(capture_.flagsChanged(key->code, flags & ~*mask));
}

void ShortcutCaptureView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // The window stepping back leaves the field its window's focus: recording goes on.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    capture_.end();
    stopTap();
    update();
}

void ShortcutCaptureView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // The keys typed meanwhile are the other applications'.
    stopTap();
    if (capture_.recording() && hidesWithItsWindow(*this, *event)) {
        paused_ = true;
        return;
    }
    capture_.end();
}

void ShortcutCaptureView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!paused_) return;
    paused_ = false;
    if (!capture_.recording()) return;
    // From no key held: what was down when the window went was released elsewhere.
    capture_.begin();
    startTap();
    update();
}

void ShortcutCaptureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintField(painter, QRectF(rect()), capture_.caption());
}

void ShortcutCaptureView::paintField(QPainter& painter, const QRectF& bounds, const Caption& caption) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field = bounds.adjusted(kInset, kInset, -kInset, -kInset);
    QPainterPath shape;
    shape.addRoundedRect(field, DesignTokens::radiusMd, DesignTokens::radiusMd);
    const QString text = QString::fromStdString(caption.text);
    if (caption.style == Caption::Style::recording) {
        const QColor accent = DesignTokens::Colors::accent.resolved();
        painter.fillPath(shape, withAlpha(accent, kRecordingFillAlpha));
        painter.strokePath(shape, QPen(withAlpha(accent, kRecordingStrokeAlpha), kRecordingStroke));
        painter.setPen(Qt::NoPen);
        painter.setBrush(DesignTokens::Colors::red.resolved());
        painter.drawEllipse(QRectF(bounds.x() + kDotX, bounds.y() + (bounds.height() - kDotSize) / 2, kDotSize, kDotSize));
        painter.setFont(DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold));
        painter.setPen(accent);
        const QRectF textArea = bounds.adjusted(kRecordingTextX, 0, 0, 0);
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, text);
        return;
    }
    painter.fillPath(shape, DesignTokens::Colors::card.resolved());
    painter.strokePath(shape, QPen(withAlpha(DesignTokens::Colors::separator.resolved(), kIdleStrokeAlpha), kIdleStroke));
    // The key in the label colour; the prompt and the failure to record in the secondary one.
    const bool isKey = caption.style == Caption::Style::label;
    painter.setFont(isKey ? DesignTokens::keyFont(DesignTokens::fontBody, FontWeight::semibold)
                          : DesignTokens::font(DesignTokens::fontBody));
    painter.setPen(isKey ? DesignTokens::NS::textPrimary.resolved() : DesignTokens::NS::textSecondary.resolved());
    painter.drawText(bounds, Qt::AlignCenter, text);
}

}  // namespace dorvane
