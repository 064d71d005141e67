#include "Dorvane/Visual/SheetLayer.h"

#include <algorithm>

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassShapes.h"
#include "DorvaneCore/SettingsWindow/SheetPlacement.h"

namespace dorvane {

namespace {

// Shadows of this many sizes are kept: a sheet and an alert over it, with room to spare.
constexpr std::size_t kKeptShadows = 4;

QRect placedFrame(const QWidget& owner, const QWidget& surface) {
    const QSize preferred = surface.sizeHint().expandedTo(surface.minimumSizeHint());
    const geometry::Rect frame =
        SheetPlacement::frame({static_cast<double>(owner.width()), static_cast<double>(owner.height())},
                              {static_cast<double>(preferred.width()), static_cast<double>(preferred.height())});
    return QRect(static_cast<int>(frame.x), static_cast<int>(frame.y), static_cast<int>(frame.width),
                 static_cast<int>(frame.height));
}

}  // namespace

QPainterPath sheetShape(const QRectF& rect) {
    const double radius = DesignTokens::sheetRadius;
    return roundedPath(rect, glass::CornerRadii{0, 0, radius, radius});
}

void paintSheetFace(QPainter& painter, const QRectF& bounds, double devicePixelRatio) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(sheetShape(bounds), DesignTokens::Colors::pageBackground.resolved());
    const double half = DesignTokens::hairline(devicePixelRatio) / 2;
    painter.setClipRect(bounds.adjusted(0, half * 2, 0, 0));
    painter.strokePath(sheetShape(bounds.adjusted(half, -1, -half, -half)),
                       QPen(DesignTokens::Colors::sheetEdge.resolved(), half * 2));
    painter.restore();
}

SheetLayer& SheetLayer::of(QWidget& owner) {
    if (auto* layer = owner.findChild<SheetLayer*>(QString(), Qt::FindDirectChildrenOnly)) return *layer;
    return *new SheetLayer(owner);
}

QWidget& SheetLayer::ownerFor(QWidget& widget) {
    for (QWidget* above = widget.parentWidget(); above != nullptr; above = above->parentWidget()) {
        if (above->findChild<SheetLayer*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) return *above;
        if (above->isWindow()) return *above;
    }
    return *widget.window();
}

SheetLayer::SheetLayer(QWidget& owner) : QWidget(&owner), owner_(owner) {
    setAttribute(Qt::WA_NoMousePropagation);
    owner.installEventFilter(this);
    DesignTokens::repaintOnAppearanceChange(this);
    hide();
}

void SheetLayer::attach(QWidget& surface, Level level) {
    const auto known = std::ranges::find(surfaces_, &surface, [](const Surface& s) { return s.widget.data(); });
    if (known == surfaces_.end()) {
        surfaces_.push_back(Surface{&surface, level});
        surface.installEventFilter(this);
        // By the pointer it had: a guard may not have let go of it yet.
        connect(&surface, &QObject::destroyed, this, [this](QObject* gone) {
            std::erase_if(surfaces_, [gone](const Surface& s) { return !s.widget || s.widget.data() == gone; });
            arrange();
        });
    }
    arrange();
}

std::vector<QWidget*> SheetLayer::shown(Level level) const {
    std::vector<QWidget*> found;
    for (const Surface& surface : surfaces_) {
        if (surface.widget && surface.level == level && !surface.widget->isHidden()) found.push_back(surface.widget);
    }
    return found;
}

void SheetLayer::arrange() {
    std::erase_if(surfaces_, [](const Surface& surface) { return !surface.widget; });
    for (const Surface& surface : surfaces_) {
        const QRect frame = placedFrame(owner_, *surface.widget);
        if (surface.widget->geometry() != frame) surface.widget->setGeometry(frame);
    }
    const std::vector<QWidget*> sheets = shown(Level::sheet);
    const std::vector<QWidget*> alerts = shown(Level::alert);
    const std::vector<QWidget*>& above = alerts.empty() ? sheets : alerts;
    std::vector<QRect> shaded;
    for (QWidget* surface : above) shaded.push_back(surface->geometry());
    if (shaded != shaded_) {
        shaded_ = std::move(shaded);
        update();
    }
    if (geometry() != owner_.rect()) setGeometry(owner_.rect());
    setVisible(!above.empty());
    if (above.empty()) return;
    // Bottom up: the sheets an alert dims, the layer, what it shades.
    if (!alerts.empty()) {
        for (QWidget* sheet : sheets) sheet->raise();
    }
    raise();
    for (QWidget* surface : above) surface->raise();
}

bool SheetLayer::eventFilter(QObject* watched, QEvent* event) {
    const bool owner = watched == &owner_;
    switch (event->type()) {
        case QEvent::Resize:
            if (owner) arrange();
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (!owner) arrange();
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

const QImage& SheetLayer::shadowFor(QSize size, double ratio) {
    for (const Shadow& kept : shadows_) {
        if (kept.size == size && kept.ratio == ratio) return kept.image;
    }
    const auto& look = DesignTokens::sheetShadow;
    const QSize margined = size + QSize(2 * look.margin, 2 * look.margin);
    const QRectF shape(look.margin, look.margin + look.offsetY, size.width(), size.height());
    if (shadows_.size() == kKeptShadows) shadows_.erase(shadows_.begin());
    shadows_.push_back(Shadow{size, ratio, blurredShape(margined, ratio, sheetShape(shape), look.blurRadius, look.opacity)});
    return shadows_.back().image;
}

void SheetLayer::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), DesignTokens::Colors::sheetDim.resolved());
    const int margin = DesignTokens::sheetShadow.margin;
    for (const QRect& surface : shaded_) {
        painter.drawImage(QPointF(surface.x() - margin, surface.y() - margin), shadowFor(surface.size(), devicePixelRatioF()));
    }
}

void SheetLayer::mousePressEvent(QMouseEvent* event) { event->accept(); }
void SheetLayer::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void SheetLayer::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void SheetLayer::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void SheetLayer::wheelEvent(QWheelEvent* event) { event->accept(); }

}  // namespace dorvane
