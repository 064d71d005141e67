#include "Dorvane/Visual/ApplicationIcon.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>

#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Support/BoundedFile.h"
#include "Platform/Dispatch/SerialQueue.h"

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

namespace {

// Icon files are read one at a time on a thread of their own, never on the interface's.
dispatch::SerialQueue& iconReads() {
    static dispatch::SerialQueue queue("icon-reads");
    return queue;
}

// What a read shares with the main thread, under its own lock: the receiver that hands the
// picture over (null once its owner has gone) and the picture read. Qt's queued call carries
// only the slot's name, so everything that crosses threads here is under a lock every
// checker sees, as with the main queue.
struct IconHandOff {
    std::mutex mutex;
    QObject* receiver = nullptr;
    QImage image;
};

// Lives on the main thread as a child of the icon's owner, so it goes with the owner.
class IconDelivery final : public QObject {
    Q_OBJECT
public:
    IconDelivery(QObject* owner, std::shared_ptr<IconHandOff> handOff, std::function<void(const QPixmap&)> shown,
                 QString name, double size, double ratio)
        : QObject(owner), handOff_(std::move(handOff)), shown_(std::move(shown)), name_(std::move(name)),
          size_(size), ratio_(ratio) {
        std::lock_guard lock(handOff_->mutex);
        handOff_->receiver = this;
    }
    ~IconDelivery() override {
        std::lock_guard lock(handOff_->mutex);
        handOff_->receiver = nullptr;
    }

    Q_INVOKABLE void deliver() {
        QImage image;
        {
            std::lock_guard lock(handOff_->mutex);
            image = std::move(handOff_->image);
        }
        const auto shown = std::move(shown_);
        deleteLater();
        if (!shown) return;
        if (image.isNull()) {
            shown(applicationIconStandIn(name_, size_, ratio_));
            return;
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio_);
        shown(pixmap);
    }

private:
    std::shared_ptr<IconHandOff> handOff_;
    std::function<void(const QPixmap&)> shown_;
    QString name_;
    double size_;
    double ratio_;
};

}  // namespace

void loadApplicationIcon(const QString& iconPath, const QString& name, double size, double devicePixelRatio,
                         QObject* owner, std::function<void(const QPixmap&)> shown, ApplicationIconReader read) {
    if (owner == nullptr || !shown || !read) return;
    auto handOff = std::make_shared<IconHandOff>();
    new IconDelivery(owner, handOff, std::move(shown), name, size, validRatio(devicePixelRatio));
    const int pixels = pixelsFor(size, devicePixelRatio);
    iconReads().post([path = iconPath.toStdString(), pixels, handOff, read = std::move(read)] {
        {
            std::lock_guard lock(handOff->mutex);
            if (handOff->receiver == nullptr) return;  // its owner went before the read began
        }
        QImage image = read(QString::fromStdString(path), pixels);
        std::lock_guard lock(handOff->mutex);
        if (handOff->receiver == nullptr) return;
        handOff->image = std::move(image);
        // Under the lock: the receiver cannot go meanwhile, and Qt drops the call if it goes later.
        QMetaObject::invokeMethod(handOff->receiver, "deliver", Qt::QueuedConnection);
    });
}

}  // namespace dorvane

#include "ApplicationIcon.moc"
