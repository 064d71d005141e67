#include "Dorvane/Visual/GlassPanel.h"

#include <QApplication>
#include <QEvent>
#include <QVBoxLayout>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"

namespace dorvane {

namespace {

Qt::WindowFlags flagsFor(GlassPanel::Input input) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    if (input == GlassPanel::Input::passesThrough) flags |= Qt::WindowTransparentForInput;
    return flags;
}

}  // namespace

GlassPanel::GlassPanel(const QString& title, int level, Input input, QWidget* transientParent)
    : QWidget(transientParent != nullptr ? transientParent->window() : nullptr, flagsFor(input)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(title);
    setAccessibleName(title);
    setProperty(qthost::kWindowLevelProperty, level);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void GlassPanel::setGlass(NativeGlassView* glass) {
    if (glass_ == glass) return;
    if (glass_) {
        NativeGlassView* previous = glass_;
        layout()->removeWidget(previous);
        previous->hide();
        // Later, not now: the old surface may be the one whose event is being handled.
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    glass_ = glass;
    if (glass != nullptr) layout()->addWidget(glass);
}

void GlassPanel::setGlassFrame(const QRect& frame) { setGeometry(glass_ ? glass_->windowFrame(frame) : frame); }

QRect GlassPanel::glassFrame() const {
    const QRect window = geometry();
    return glass_ ? window.marginsRemoved(glass_->shadowMargins()) : window;
}

void GlassPanel::present() {
    QWidget* active = QApplication::activeWindow();
    if (active != this) returnActivationTo_ = active;
    show();
    raise();
}

void GlassPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && returnActivationTo_) {
        // Queued: the platform is still in the middle of the activation.
        QMetaObject::invokeMethod(
            this,
            [target = returnActivationTo_] {
                if (target && target->isVisible()) target->activateWindow();
            },
            Qt::QueuedConnection);
    }
    QWidget::changeEvent(event);
}

int GlassPanel::level() const { return levelOf(*this); }

int GlassPanel::levelOf(const QWidget& window) { return window.property(qthost::kWindowLevelProperty).toInt(); }

}  // namespace dorvane
