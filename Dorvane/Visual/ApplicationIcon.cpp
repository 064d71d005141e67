#include "Dorvane/Visual/ApplicationIcon.h"

#include <array>
#include <cmath>
#include <cstdint>

#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

namespace {

QString firstLetter(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return QStringLiteral("?");
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, trimmed);
    const qsizetype end = graphemes.toNextBoundary();
    return trimmed.left(end > 0 ? end : 1).toUpper();
}

}  // namespace

QColor applicationIconColor(const QString& name) {
    const auto& colors = DesignTokens::applicationIconColors();
    // FNV-1a over the UTF-16 code units: stable across runs, unlike a seeded hash.
    std::uint32_t hash = 2166136261U;
    for (const QChar unit : name) {
        hash ^= unit.unicode();
        hash *= 16777619U;
    }
    return colors[hash % colors.size()];
}

QPixmap applicationIcon(const QString& iconPath, const QString& name, double size, double devicePixelRatio) {
    const double ratio = std::isfinite(devicePixelRatio) && devicePixelRatio >= 1 ? devicePixelRatio : 1;
    const double side = std::isfinite(size) && size >= 1 ? size : 1;
    const int pixels = static_cast<int>(std::ceil(side * ratio));
    if (!iconPath.isEmpty()) {
        QImageReader reader(iconPath);
        reader.setScaledSize(QSize(pixels, pixels));
        const QImage image = reader.read();
        if (!image.isNull()) {
            QPixmap pixmap = QPixmap::fromImage(image);
            pixmap.setDevicePixelRatio(ratio);
            return pixmap;
        }
    }
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath square;
    square.addRoundedRect(QRectF(0, 0, side, side), side * DesignTokens::applicationIconCornerShare,
                          side * DesignTokens::applicationIconCornerShare);
    painter.fillPath(square, applicationIconColor(name));
    painter.setPen(Qt::white);
    painter.setFont(DesignTokens::font(std::round(side * DesignTokens::applicationIconLetterShare), FontWeight::semibold));
    painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, firstLetter(name));
    return pixmap;
}

}  // namespace dorvane
