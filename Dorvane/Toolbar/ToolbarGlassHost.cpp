#include "Dorvane/Toolbar/ToolbarGlassHost.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
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
    const double radius = glass_->cornerRadius();
    // Every rebuild makes a new host of the same size: the shadow is made once.
    const QString key = QStringLiteral("toolbar-shadow:%1x%2|%3|%4|%5|%6")
                            .arg(width())
                            .arg(height())
                            .arg(ratio)
                            .arg(opacity_)
                            .arg(elliptical_)
                            .arg(radius);
    QPixmap shadow;
    if (!QPixmapCache::find(key, &shadow)) {
        // Under the surface, a little lower: the light comes from above.
        const QRectF surface = QRectF(rect()).adjusted(padding, padding, -padding, -padding).translated(
            0, -DesignTokens::toolbarShadowOffsetY);
        QPainterPath shape;
        if (elliptical_) {
            shape.addEllipse(surface);
        } else {
            shape.addRoundedRect(surface, radius, radius);
        }
        shadow = QPixmap::fromImage(blurredShape(size(), ratio, shape, DesignTokens::toolbarShadowRadius, opacity_));
        QPixmapCache::insert(key, shadow);
    }
    QPainter painter(this);
    painter.drawPixmap(QPointF(0, 0), shadow);
}

}  // namespace dorvane
