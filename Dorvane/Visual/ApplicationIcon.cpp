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

// Share of the side used for the corner radius and for the letter of the stand-in.
constexpr double kCornerShare = 0.225;
constexpr double kLetterShare = 0.5;

QString firstLetter(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return QStringLiteral("?");
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, trimmed);
    const qsizetype end = graphemes.toNextBoundary();
    return trimmed.left(end > 0 ? end : 1).toUpper();
}

}  // namespace

QColor applicationIconColor(const QString& name) {
    static const std::array<QColor, 8> colors{QColor(0, 113, 227), QColor(52, 168, 83),  QColor(234, 134, 0),
                                              QColor(217, 48, 37),  QColor(142, 68, 173), QColor(0, 150, 160),
                                              QColor(96, 125, 139), QColor(194, 24, 91)};
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
    square.addRoundedRect(QRectF(0, 0, side, side), side * kCornerShare, side * kCornerShare);
    painter.fillPath(square, applicationIconColor(name));
    painter.setPen(Qt::white);
    painter.setFont(DesignTokens::font(std::round(side * kLetterShare), FontWeight::semibold));
    painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, firstLetter(name));
    return pixmap;
}

}  // namespace dorvane
