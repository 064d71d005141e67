#include "Dorvane/QtHostBase/QtScreenGeometry.h"

#include <cmath>

#include <QGuiApplication>
#include <QScreen>

namespace dorvane::qthost {

QRectF toQRectF(const geometry::Rect& rect) {
    const geometry::Rect r = rect.standardized();
    return QRectF(r.x, r.y, r.width, r.height);
}

geometry::Rect fromQRectF(const QRectF& rect) {
    const QRectF r = rect.normalized();
    return geometry::Rect{r.x(), r.y(), r.width(), r.height()};
}

QRectF qtFrame(const geometry::Rect& toolkitFrame, const ScreenSpace& space) { return toQRectF(space.screen(toolkitFrame)); }

geometry::Rect toolkitFrame(const QRectF& qtFrame, const ScreenSpace& space) { return space.toolkit(fromQRectF(qtFrame)); }

ScreenSpace qtScreenSpace() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary == nullptr) return ScreenSpace{0};
    const QRect geometry = primary->geometry();
    return ScreenSpace{static_cast<double>(geometry.y() + geometry.height())};
}

QRect pixelFrame(const QRectF& frame) {
    const auto left = static_cast<int>(std::lround(frame.left()));
    const auto top = static_cast<int>(std::lround(frame.top()));
    const auto right = static_cast<int>(std::lround(frame.left() + frame.width()));
    const auto bottom = static_cast<int>(std::lround(frame.top() + frame.height()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace dorvane::qthost
