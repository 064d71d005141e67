#include "Dorvane/Toolbar/ToolbarFlyoutTile.h"

#include <QPainter>
#include <QUuid>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/PointerHover.h"
#include "DorvaneCore/Toolbar/LayoutFlyout.h"

namespace dorvane {

ToolbarFlyoutTile::ToolbarFlyoutTile(const std::string& title, std::function<void(QPainter&, const QRectF&)> paintLabel,
                                     QWidget* parent)
    : QAbstractButton(parent), paintLabel_(std::move(paintLabel)) {
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QString::fromStdString(title));
    setAccessibleName(QString::fromStdString(title));
    // Every tile hovers on its own, for as long as it lives.
    const std::string id = "tile:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    hover_ = PointerHover::shared().track(this, id, [this](bool hovered) {
        hovering_ = hovered;
        update();
    });
    connect(this, &QAbstractButton::pressed, this, qOverload<>(&QWidget::update));
    connect(this, &QAbstractButton::released, this, qOverload<>(&QWidget::update));
}

ToolbarFlyoutTile::~ToolbarFlyoutTile() { hover_.cancel(); }

double ToolbarFlyoutTile::backgroundOpacity() const { return LayoutFlyout::tileBackgroundOpacity(isDown(), hovering_); }

void ToolbarFlyoutTile::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double opacity = backgroundOpacity();
    if (opacity > 0) {
        QColor tint = DesignTokens::Colors::textPrimary.resolved();
        tint.setAlphaF(static_cast<float>(tint.alphaF() * opacity));
        painter.setPen(Qt::NoPen);
        painter.setBrush(tint);
        painter.drawRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    }
    if (paintLabel_) paintLabel_(painter, QRectF(rect()));
}

}  // namespace dorvane
