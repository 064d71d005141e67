#include "Dorvane/Visual/GlassShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <QPainter>

namespace dorvane {

namespace {

// One box pass along rows (`stride` 1) or columns over an alpha plane; outside is empty.
void boxPass(std::vector<std::uint8_t>& alpha, int width, int height, int radius, bool alongRows) {
    const int lines = alongRows ? height : width;
    const int length = alongRows ? width : height;
    const int window = 2 * radius + 1;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(length));
    auto at = [&](int lineIndex, int position) -> std::uint8_t& {
        const int x = alongRows ? position : lineIndex;
        const int y = alongRows ? lineIndex : position;
        return alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    };
    for (int lineIndex = 0; lineIndex < lines; ++lineIndex) {
        for (int position = 0; position < length; ++position) line[static_cast<std::size_t>(position)] = at(lineIndex, position);
        int sum = 0;
        for (int position = 0; position <= std::min(radius, length - 1); ++position) sum += line[static_cast<std::size_t>(position)];
        for (int position = 0; position < length; ++position) {
            at(lineIndex, position) = static_cast<std::uint8_t>((sum + window / 2) / window);
            const int entering = position + radius + 1;
            const int leaving = position - radius;
            if (entering < length) sum += line[static_cast<std::size_t>(entering)];
            if (leaving >= 0) sum -= line[static_cast<std::size_t>(leaving)];
        }
    }
}

}  // namespace

QPainterPath roundedPath(const QRectF& rect, const glass::CornerRadii& radii) {
    const double limit = std::max(0.0, std::min(rect.width(), rect.height()) / 2);
    auto capped = [limit](double radius) { return std::isfinite(radius) ? std::clamp(radius, 0.0, limit) : 0.0; };
    const double topLeft = capped(radii.topLeft);
    const double topRight = capped(radii.topRight);
    const double bottomLeft = capped(radii.bottomLeft);
    const double bottomRight = capped(radii.bottomRight);
    QPainterPath path;
    path.moveTo(rect.left() + topLeft, rect.top());
    path.lineTo(rect.right() - topRight, rect.top());
    if (topRight > 0) path.arcTo(QRectF(rect.right() - 2 * topRight, rect.top(), 2 * topRight, 2 * topRight), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - bottomRight);
    if (bottomRight > 0) {
        path.arcTo(QRectF(rect.right() - 2 * bottomRight, rect.bottom() - 2 * bottomRight, 2 * bottomRight, 2 * bottomRight),
                   0, -90);
    }
    path.lineTo(rect.left() + bottomLeft, rect.bottom());
    if (bottomLeft > 0) {
        path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * bottomLeft, 2 * bottomLeft, 2 * bottomLeft), 270, -90);
    }
    path.lineTo(rect.left(), rect.top() + topLeft);
    if (topLeft > 0) path.arcTo(QRectF(rect.left(), rect.top(), 2 * topLeft, 2 * topLeft), 180, -90);
    path.closeSubpath();
    return path;
}

QImage blurredShape(QSize size, double ratio, const QPainterPath& shape, double blurRadius, double opacity) {
    const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)), static_cast<int>(std::ceil(size.height() * ratio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(ratio);
    if (pixels.isEmpty()) return image;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape, QColor(0, 0, 0, std::clamp(static_cast<int>(std::lround(opacity * 255)), 0, 255)));
    }
    // Three box passes of this half-width approach a Gaussian of sigma ≈ blurRadius / 2.
    const int radius = std::max(1, static_cast<int>(std::lround(blurRadius * ratio / 2)));
    const int width = pixels.width();
    const int height = pixels.height();
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) alpha[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(qAlpha(row[x]));
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(alpha, width, height, radius, true);
        boxPass(alpha, width, height, radius, false);
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        // Black: premultiplied colour channels stay 0.
        for (int x = 0; x < width; ++x) row[x] = qRgba(0, 0, 0, alpha[static_cast<std::size_t>(y * width + x)]);
    }
    return image;
}

}  // namespace dorvane
