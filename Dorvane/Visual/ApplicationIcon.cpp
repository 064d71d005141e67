#include "Dorvane/Visual/ApplicationIcon.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QThreadPool>

#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Support/BoundedFile.h"

namespace dorvane {

namespace {

QString firstLetter(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return QStringLiteral("?");
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, trimmed);
    const qsizetype end = graphemes.toNextBoundary();
    return trimmed.left(end > 0 ? end : 1).toUpper();
}

double validRatio(double devicePixelRatio) {
    return std::isfinite(devicePixelRatio) && devicePixelRatio >= 1 ? devicePixelRatio : 1;
}

double validSide(double size) { return std::isfinite(size) && size >= 1 ? size : 1; }

int pixelsFor(double size, double devicePixelRatio) {
    return static_cast<int>(std::ceil(validSide(size) * validRatio(devicePixelRatio)));
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

QImage readApplicationIcon(const QString& iconPath, int pixels) {
    if (iconPath.isEmpty() || pixels < 1) return {};
    const BoundedRead file = readBoundedRegularFile(iconPath.toStdString(), kApplicationIconFileLimit);
    if (!file.contents) return {};
    QByteArray bytes(file.contents->data(), static_cast<qsizetype>(file.contents->size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (declared.isValid() &&
        (declared.width() > kApplicationIconSideLimit || declared.height() > kApplicationIconSideLimit)) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() > kApplicationIconSideLimit || image.height() > kApplicationIconSideLimit) {
        return {};
    }
    // Scaled in full colour: a palette picture scaled as it is comes out dithered.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPixmap applicationIconStandIn(const QString& name, double size, double devicePixelRatio) {
    const double ratio = validRatio(devicePixelRatio);
    const double side = validSide(size);
    const int pixels = pixelsFor(size, devicePixelRatio);
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

void loadApplicationIcon(const QString& iconPath, const QString& name, double size, double devicePixelRatio,
                         QObject* owner, std::function<void(const QPixmap&)> shown) {
    // What goes to the worker and comes back: the owner is only looked at on the main thread.
    struct Delivery {
        QPointer<QObject> owner;
        std::function<void(const QPixmap&)> shown;
        QString name;
        double size;
        double ratio;
    };
    auto delivery = std::make_shared<Delivery>(
        Delivery{QPointer<QObject>(owner), std::move(shown), name, size, validRatio(devicePixelRatio)});
    const int pixels = pixelsFor(size, devicePixelRatio);
    QThreadPool::globalInstance()->start([iconPath, pixels, delivery] {
        QImage image = readApplicationIcon(iconPath, pixels);
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr) return;
        QMetaObject::invokeMethod(
            application,
            [image = std::move(image), delivery] {
                if (!delivery->owner || !delivery->shown) return;
                if (image.isNull()) {
                    delivery->shown(applicationIconStandIn(delivery->name, delivery->size, delivery->ratio));
                    return;
                }
                QPixmap pixmap = QPixmap::fromImage(image);
                pixmap.setDevicePixelRatio(delivery->ratio);
                delivery->shown(pixmap);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace dorvane
