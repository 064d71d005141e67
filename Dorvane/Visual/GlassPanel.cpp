#include "Dorvane/Visual/GlassPanel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "Dorvane/QtHostBase/OwnWindowProperties.h"
#include "Dorvane/Visual/GlassShapes.h"

namespace dorvane {

namespace {

Qt::WindowFlags flagsFor(GlassPanel::Input input) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    if (input == GlassPanel::Input::passesThrough) flags |= Qt::WindowTransparentForInput;
    return flags;
}

}  // namespace

// The blurred shape under a panel: decoration only, like a window server's shadow.
class GlassPanel::Shadow final : public QWidget {
public:
    Shadow(GlassPanel& panel, DesignTokens::Shadow look)
        : QWidget(panel.parentWidget(), flagsFor(Input::passesThrough)), panel_(panel), look_(look) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setProperty(qthost::kDecorationProperty, true);
        setWindowTitle(panel.windowTitle());
    }

    const DesignTokens::Shadow& look() const { return look_; }

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && isActiveWindow()) panel_.handBackActivation();
        QWidget::changeEvent(event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        const NativeGlassView* glass = panel_.glass();
        const glass::CornerRadii radii =
            glass != nullptr ? glass::outerCornerRadii(glass->cornerRadius(), glass->attachedCorners()) : glass::CornerRadii{};
        const double ratio = devicePixelRatioF();
        if (image_.isNull() || imageSize_ != size() || imageRatio_ != ratio || !(imageRadii_ == radii)) {
            const QRectF shape = QRectF(rect()).adjusted(look_.margin, look_.margin + look_.offsetY, -look_.margin,
                                                         -look_.margin + look_.offsetY);
            image_ = blurredShape(size(), ratio, roundedPath(shape, radii), look_.blurRadius, look_.opacity);
            imageSize_ = size();
            imageRatio_ = ratio;
            imageRadii_ = radii;
        }
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), image_);
    }

private:
    GlassPanel& panel_;
    DesignTokens::Shadow look_;
    QImage image_;
    QSize imageSize_;
    double imageRatio_ = 0;
    glass::CornerRadii imageRadii_;
};

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

GlassPanel::~GlassPanel() { delete shadow_.data(); }

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
    if (shadow_) shadow_->update();
}

void GlassPanel::setShadow(std::optional<DesignTokens::Shadow> shadow) {
    delete shadow_.data();
    if (!shadow) return;
    shadow_ = new Shadow(*this, *shadow);
    placeShadow();
    if (isVisible()) {
        shadow_->show();
        if (QGuiApplication::platformName() != QStringLiteral("offscreen")) raise();
    }
}

void GlassPanel::placeShadow() {
    if (!shadow_) return;
    const int margin = shadow_->look().margin;
    shadow_->setGeometry(geometry().marginsAdded(QMargins(margin, margin, margin, margin)));
    shadow_->update();
}

QWidget* GlassPanel::shadowWindow() const { return shadow_.data(); }

int GlassPanel::level() const { return levelOf(*this); }

int GlassPanel::levelOf(const QWidget& window) { return window.property(qthost::kWindowLevelProperty).toInt(); }

void GlassPanel::present() {
    QWidget* active = QApplication::activeWindow();
    // A window that takes no focus (the toolbar, another panel) is never activated again:
    // the platform would refuse it, and say so on every present.
    if (!isPartOfPanel(active)) {
        returnActivationTo_ =
            active != nullptr && active->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) ? nullptr : active;
    }
    show();
    // The offscreen platform keeps no stacking order and says so on every raise.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) raise();
}

bool GlassPanel::isPartOfPanel(const QWidget* window) const {
    return window != nullptr && (window == this || window == shadow_.data());
}

void GlassPanel::handBackActivation() {
    if (!returnActivationTo_) return;
    // Queued: the platform is still in the middle of the activation.
    QMetaObject::invokeMethod(
        this,
        [target = returnActivationTo_] {
            if (!target || !target->isVisible() || target->isActiveWindow()) return;
            target->setProperty(qthost::kActivationHandBackProperty, true);
            target->activateWindow();
        },
        Qt::QueuedConnection);
}

void GlassPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) handBackActivation();
    QWidget::changeEvent(event);
}

void GlassPanel::moveEvent(QMoveEvent* event) {
    placeShadow();
    QWidget::moveEvent(event);
}

void GlassPanel::resizeEvent(QResizeEvent* event) {
    placeShadow();
    QWidget::resizeEvent(event);
}

void GlassPanel::showEvent(QShowEvent* event) {
    if (shadow_) {
        placeShadow();
        shadow_->show();
    }
    QWidget::showEvent(event);
}

void GlassPanel::hideEvent(QHideEvent* event) {
    if (shadow_) shadow_->hide();
    QWidget::hideEvent(event);
}

}  // namespace dorvane
