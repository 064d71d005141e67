#include "Dorvane/Toolbar/LayoutFlyoutView.h"

#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

namespace {

QRectF qt(const geometry::Rect& rect) { return QRectF(rect.x, rect.y, rect.width, rect.height); }

// The glyph's outline and its cells.
constexpr double kOutlineRadius = 6;
constexpr double kOutlineOpacity = 0.6;
constexpr double kCellRadius = 1.5;
constexpr double kHighlightOpacity = 0.7;

}  // namespace

LayoutFlyoutView::LayoutFlyoutView(const QSize& size, std::function<void(const LayoutChoice&)> pick, QWidget* parent)
    : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    auto shared = std::make_shared<std::function<void(const LayoutChoice&)>>(std::move(pick));
    for (const LayoutFlyoutEntry& entry : LayoutFlyout::entries()) {
        auto* tile = new ToolbarFlyoutTile(
            std::string(entry.title), [&entry](QPainter& painter, const QRectF& rect) { paintGlyph(painter, rect, entry); },
            this);
        connect(tile, &QAbstractButton::clicked, this, [shared, choice = entry.choice] {
            if (*shared) (*shared)(choice);
        });
        tiles_.push_back(tile);
    }
    resize(size);
}

void LayoutFlyoutView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto frames = LayoutFlyout::tileFrames(
        tiles_.size(), geometry::Size{static_cast<double>(width()), static_cast<double>(height())});
    for (std::size_t i = 0; i < tiles_.size(); ++i) tiles_[i]->setGeometry(qt(frames[i]).toAlignedRect());
}

void LayoutFlyoutView::paintGlyph(QPainter& painter, const QRectF& tile, const LayoutFlyoutEntry& entry) {
    const QSizeF size(LayoutFlyout::glyph.width, LayoutFlyout::glyph.height);
    const QRectF glyph(tile.center() - QPointF(size.width() / 2, size.height() / 2), size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor outline = DesignTokens::Colors::textPrimary.resolved();
    outline.setAlphaF(static_cast<float>(outline.alphaF() * kOutlineOpacity));
    // Stroked inside its bounds.
    const double line = DesignTokens::glyphStroke;
    painter.setPen(QPen(outline, line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(glyph.adjusted(line / 2, line / 2, -line / 2, -line / 2), kOutlineRadius - line / 2,
                            kOutlineRadius - line / 2);
    painter.setPen(Qt::NoPen);
    const auto frames = LayoutFlyout::glyphCellFrames(entry.cells);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        QColor fill = entry.cells[i].highlighted ? DesignTokens::Colors::accent.resolved()
                                                 : DesignTokens::Colors::glyphInactive.resolved();
        if (entry.cells[i].highlighted) fill.setAlphaF(static_cast<float>(fill.alphaF() * kHighlightOpacity));
        painter.setBrush(fill);
        painter.drawRoundedRect(qt(frames[i]).translated(glyph.topLeft()), kCellRadius, kCellRadius);
    }
    painter.restore();
}

}  // namespace dorvane
