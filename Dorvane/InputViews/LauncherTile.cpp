#include "Dorvane/InputViews/LauncherTile.h"

#include <utility>

#include <QEasingCurve>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Visual/PointerHover.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Launcher/LauncherGrid.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"

namespace dorvane {

using Metrics = LauncherViewMetrics;

namespace {

QColor resolvedOrClear(const std::optional<AdaptiveColor>& color, bool dark) {
    return color ? color->resolved(dark) : QColor(Qt::transparent);
}

QColor mixed(const QColor& from, const QColor& to, double progress) {
    const auto mix = [progress](float a, float b) { return a + (b - a) * static_cast<float>(progress); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()), mix(from.blueF(), to.blueF()),
                            mix(from.alphaF(), to.alphaF()));
}

int milliseconds(double seconds) { return static_cast<int>(seconds * 1000); }

// Where an animation stands; before its first run, where it is headed.
double valueOf(const QVariantAnimation& animation) {
    const QVariant value = animation.currentValue();
    return value.isValid() ? value.toDouble() : animation.endValue().toDouble();
}

}  // namespace

LauncherTile::LauncherTile(Timing timing, QWidget* parent) : LauncherPressButton(timing, parent) {
    const int side = static_cast<int>(launcher_grid::tileSize);
    setFixedSize(side, side);
    for (QVariantAnimation* animation : {&fillProgress_, &scale_}) {
        animation->setEasingCurve(QEasingCurve::OutCubic);
        connect(animation, &QVariantAnimation::valueChanged, this, [this] { update(); });
    }
    fillProgress_.setStartValue(1.0);
    fillProgress_.setEndValue(1.0);
    scale_.setStartValue(1.0);
    scale_.setEndValue(1.0);
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize LauncherTile::sizeHint() const {
    const int side = static_cast<int>(launcher_grid::tileSize);
    return QSize(side, side);
}

void LauncherTile::requestIcon() {
    // The lettered square until the file's picture is read, off the main thread.
    const QString name = QString::fromStdString(app_.name);
    icon_ = applicationIconStandIn(name, Metrics::iconSize, devicePixelRatioF());
    loadApplicationIcon(QString::fromStdString(iconFile_.string()), name, Metrics::iconSize, devicePixelRatioF(), this,
                        [this, request = iconRequest_](const QPixmap& picture) {
                            if (request != iconRequest_) return;
                            icon_ = picture;
                            update();
                        });
}

void LauncherTile::setApp(const LauncherApp& app, const std::filesystem::path& iconFile, bool showsRunningDot) {
    if (app.hoverID() != app_.hoverID() || !hover_.isActive()) {
        hover_ = PointerHover::shared().track(this, app.hoverID(), [this](bool hovered) {
            if (onHover) onHover(hovered);
        });
    }
    // A new picture is read when the tile is painted next; a picture still being read for
    // the old one is dropped.
    if (iconFile != iconFile_ || app.name != app_.name) {
        icon_ = QPixmap();
        ++iconRequest_;
    }
    app_ = app;
    iconFile_ = iconFile;
    showsRunningDot_ = showsRunningDot;
    const QString label = QString::fromStdString(app.tileLabel());
    setToolTip(label);
    setAccessibleName(label);
    update();
}

std::optional<AdaptiveColor> LauncherTile::targetFill() const {
    if (look_.previewed || look_.pressed) return DesignTokens::Colors::cardBgHover;
    if (look_.hovered) return DesignTokens::Colors::cardBg;
    return std::nullopt;
}

double LauncherTile::targetScale() const {
    return look_.pressed && !VisualAppearance::shared().reduceMotion() ? Metrics::pressedScale : 1.0;
}

void LauncherTile::setLook(Look look) {
    if (look == look_) return;
    const Look previous = std::exchange(look_, look);
    // A press animates at its pace, a hover at its own; a preview shows at once.
    if (previous.pressed != look.pressed) {
        animateTo(DesignTokens::pressDuration);
    } else if (previous.hovered != look.hovered) {
        animateTo(DesignTokens::hoverDuration);
    } else {
        animateTo(0);
    }
}

void LauncherTile::animateTo(double duration) {
    const double progress = valueOf(fillProgress_);
    const bool dark = VisualAppearance::shared().dark();
    // From what shows now: a fill caught halfway starts from its blend.
    const QColor shown = mixed(resolvedOrClear(fillFrom_, dark), resolvedOrClear(fillTo_, dark), progress);
    fillFrom_ = AdaptiveColor{"Corvelle.launcherTileFill", shown, shown};
    fillTo_ = targetFill();
    const double scaleNow = valueOf(scale_);
    fillProgress_.stop();
    scale_.stop();
    const bool animated = duration > 0 && !VisualAppearance::shared().reduceMotion();
    if (!animated) {
        fillProgress_.setStartValue(1.0);
        fillProgress_.setEndValue(1.0);
        scale_.setStartValue(targetScale());
        scale_.setEndValue(targetScale());
        fillProgress_.setCurrentTime(0);
        scale_.setCurrentTime(0);
        update();
        return;
    }
    fillProgress_.setDuration(milliseconds(duration));
    fillProgress_.setStartValue(0.0);
    fillProgress_.setEndValue(1.0);
    scale_.setDuration(milliseconds(DesignTokens::pressDuration));
    scale_.setStartValue(scaleNow);
    scale_.setEndValue(targetScale());
    fillProgress_.start();
    scale_.start();
}

void LauncherTile::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();

    const QColor fill = mixed(resolvedOrClear(fillFrom_, dark), resolvedOrClear(fillTo_, dark),
                              valueOf(fillProgress_));
    if (fill.alpha() > 0) {
        QPainterPath card;
        card.addRoundedRect(bounds, Metrics::tileCornerRadius, Metrics::tileCornerRadius);
        painter.fillPath(card, fill);
    }
    if (look_.previewed) {
        const double inset = Metrics::previewBorder / 2;
        painter.setPen(QPen(DesignTokens::Colors::cardBorderHighlight.resolved(dark), Metrics::previewBorder));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), Metrics::tileCornerRadius - inset,
                                Metrics::tileCornerRadius - inset);
    }
    if (hasFocus()) {
        const double inset = DesignTokens::selectedStroke / 2;
        painter.setPen(QPen(DesignTokens::Colors::focusRing.resolved(dark), DesignTokens::selectedStroke));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), Metrics::tileCornerRadius - inset,
                                Metrics::tileCornerRadius - inset);
    }

    // The icon and its dot shrink together around the tile's centre.
    const double scale = valueOf(scale_);
    painter.translate(bounds.center());
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    if (icon_.isNull()) requestIcon();
    const QRectF icon(bounds.center().x() - Metrics::iconSize / 2, bounds.center().y() - Metrics::iconSize / 2,
                      Metrics::iconSize, Metrics::iconSize);
    painter.drawPixmap(icon, icon_, QRectF(icon_.rect()));
    if (showsRunningDot()) {
        const double size = Metrics::runningDotSize;
        const QRectF dot(icon.right() - size + Metrics::runningDotOffset, icon.bottom() - size + Metrics::runningDotOffset,
                         size, size);
        painter.setPen(QPen(DesignTokens::Colors::surface.resolved(dark), Metrics::runningDotStroke));
        painter.setBrush(DesignTokens::Colors::runningIndicator.resolved(dark));
        painter.drawEllipse(dot);
    }
}

}  // namespace dorvane
