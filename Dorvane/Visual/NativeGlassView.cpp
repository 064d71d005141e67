#include "Dorvane/Visual/NativeGlassView.h"

#include <algorithm>
#include <cmath>

#include <QEasingCurve>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "Dorvane/Visual/GlassShapes.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

NativeGlassView::NativeGlassView(QWidget* content, double cornerRadius, bool clear,
                                 std::optional<AdaptiveColor> contentBackdrop, QWidget* parent)
    : QWidget(parent),
      embedded_(content),
      cornerRadius_(std::isfinite(cornerRadius) && cornerRadius > 0 ? cornerRadius : 0),
      clear_(clear),
      contentBackdrop_(std::move(contentBackdrop)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (content != nullptr) layout->addWidget(content);
    DesignTokens::repaintOnAppearanceChange(this);
}

NativeGlassView::~NativeGlassView() = default;

void NativeGlassView::attach(ToolbarSide side, bool toolbar) {
    attachedCorners_ = glass::attachedCorners(side, toolbar);
    update();
}

void NativeGlassView::detach() {
    attachedCorners_.reset();
    update();
}

void NativeGlassView::reveal(ToolbarSide side) {
    if (VisualAppearance::shared().reduceMotion()) return;
    if (layout() != nullptr) layout()->activate();
    if (revealAnimation_) {
        revealAnimation_->stop();
        revealAnimation_->deleteLater();
    }
    const GenerationGuard::Ticket ticket = revealGuard_.begin();
    const geometry::Rect bounds{0, 0, static_cast<double>(width()), static_cast<double>(height())};
    const geometry::Rect start = glass::revealStart(bounds, side);
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(QRectF(start.x, start.y, start.width, start.height));
    animation->setEndValue(QRectF(0, 0, bounds.width, bounds.height));
    animation->setDuration(static_cast<int>(std::lround(DesignTokens::revealDuration * 1000)));
    QEasingCurve easeOut(QEasingCurve::BezierSpline);
    easeOut.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    animation->setEasingCurve(easeOut);
    auto clipTo = [this](const QRectF& clip) { setMask(QRegion(clip.toAlignedRect())); };
    connect(animation, &QVariantAnimation::valueChanged, this,
            [clipTo](const QVariant& value) { clipTo(value.toRectF()); });
    // The view is the connection's context: a completion after its end never runs.
    connect(animation, &QAbstractAnimation::finished, this, [this, ticket] { finishReveal(ticket); });
    clipTo(QRectF(start.x, start.y, start.width, start.height));
    revealAnimation_ = animation;
    animation->start();
}

void NativeGlassView::finishReveal(GenerationGuard::Ticket ticket) {
    if (!revealGuard_.finish(ticket)) return;
    clearMask();
    if (revealAnimation_) revealAnimation_->deleteLater();
    revealAnimation_ = nullptr;
}

void NativeGlassView::setHairline(std::optional<AdaptiveColor> color, std::optional<ToolbarSide> omitting) {
    hairlineColor_ = std::move(color);
    hairlineOmitted_ = hairlineColor_ ? omitting : std::nullopt;
    update();
}

QSize NativeGlassView::sizeHint() const {
    return embedded_ ? embedded_->sizeHint() : QSize(0, 0);
}

void NativeGlassView::changeEvent(QEvent* event) {
    // A move to a screen of another scale redraws the border for it.
    if (event->type() == QEvent::ScreenChangeInternal) update();
    QWidget::changeEvent(event);
}

void NativeGlassView::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF glass = rect();
    const QPainterPath outer = roundedPath(glass, glass::outerCornerRadii(cornerRadius_, attachedCorners_));
    painter.fillPath(outer, DesignTokens::NS::glassTint.resolved(dark));
    painter.setClipPath(outer);
    if (contentBackdrop_) {
        const double inner = innerRadius();
        QPainterPath backdrop;
        backdrop.addRoundedRect(glass, inner, inner);
        painter.fillPath(backdrop, contentBackdrop_->resolved(dark));
    }
    if (hairlineColor_) {
        const glass::Hairline line = glass::hairline(geometry::Rect{0, 0, glass.width(), glass.height()}, innerRadius(),
                                                     devicePixelRatioF(), hairlineOmitted_);
        painter.translate(glass.topLeft());
        painter.setClipRect(QRectF(line.clip.x, line.clip.y, line.clip.width, line.clip.height), Qt::IntersectClip);
        painter.setPen(QPen(hairlineColor_->resolved(dark), line.lineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(line.stroke.x, line.stroke.y, line.stroke.width, line.stroke.height),
                                line.radius, line.radius);
    }
}

}  // namespace dorvane
