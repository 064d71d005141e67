#include "Dorvane/Toolbar/ToolbarGlassHost.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassShapes.h"

namespace dorvane {

ToolbarGlassHost::ToolbarGlassHost(NativeGlassView* glass, bool ellipticalShadow)
    : glass_(glass), elliptical_(ellipticalShadow), opacity_(DesignTokens::toolbarShadowOpacity) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(0);
    if (glass != nullptr) layout->addWidget(glass);
}

void ToolbarGlassHost::setShadowOpacity(double opacity) {
    if (opacity_ == opacity) return;
    opacity_ = opacity;
    update();
}

void ToolbarGlassHost::paintEvent(QPaintEvent* /*event*/) {
    if (opacity_ <= 0 || !glass_) return;
    const double ratio = devicePixelRatioF();
    if (shadow_.isNull() || shadowSize_ != size() || shadowRatio_ != ratio || shadowOpacity_ != opacity_) {
        // Under the surface, a little lower: the light comes from above.
        const QRectF surface = QRectF(rect()).adjusted(padding, padding, -padding, -padding).translated(
            0, -DesignTokens::toolbarShadowOffsetY);
        QPainterPath shape;
        if (elliptical_) {
            shape.addEllipse(surface);
        } else {
            const double radius = glass_->cornerRadius();
            shape.addRoundedRect(surface, radius, radius);
        }
        shadow_ = blurredShape(size(), ratio, shape, DesignTokens::toolbarShadowRadius, opacity_);
        shadowSize_ = size();
        shadowRatio_ = ratio;
        shadowOpacity_ = opacity_;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), shadow_);
}

}  // namespace dorvane
