#include "Dorvane/Settings/ResolutionPanelControls.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/WrappedText.h"
#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/PointerHover.h"
#include "Dorvane/Visual/ScreenGlyph.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

// A cell: 8 points above and below, 4 beside; outline, 4, title, 2, size.
constexpr double kCellVerticalPadding = 8;
constexpr double kCellHorizontalPadding = 4;
constexpr double kCellSpacing = 4;
constexpr double kCellTextSpacing = 2;
constexpr double kCellGlyphWidth = 34;
constexpr double kCellGlyphHeight = 20;
constexpr double kCellStroke = 0.65;

// The segments: 2 points of track around and between them, at least 36 tall.
constexpr double kTrackPadding = 2;
constexpr double kSegmentSpacing = 2;
constexpr double kSegmentMinimumHeight = 36;
constexpr double kThumbShadowOpacity = 0.12;
constexpr double kThumbShadowOffset = 0.5;

constexpr double kRestoreMinimumHeight = 36;
constexpr double kRestoreSymbolSpacing = 6;

QFont cellTitleFont(double size) { return DesignTokens::font(size, FontWeight::medium); }
QFont cellSizeFont() { return DesignTokens::font(DesignTokens::fontCaption); }

ScreenGlyph::Values cellGlyph(const ResolutionPanelModel::Cell& cell) {
    return ScreenGlyph::Values{cell.logicalSize, cell.applied, kCellGlyphWidth, kCellGlyphHeight, kCellStroke};
}

}  // namespace

ResolutionPanelCell::ResolutionPanelCell(const ResolutionPanelModel::Cell& cell, QWidget* parent)
    : QAbstractButton(parent), cell_(cell) {
    // Columns share the width whatever the titles say.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    glyph_ = new ScreenGlyph(cellGlyph(cell_), DesignTokens::Colors::accent.resolved(), this);
    DesignTokens::repaintOnAppearanceChange(this);
    render(cell_);
}

void ResolutionPanelCell::render(const ResolutionPanelModel::Cell& cell) {
    const bool selectionChanged = cell.applied != cell_.applied;
    cell_ = cell;
    const QString title = QString::fromStdString(cell_.preset.title());
    setText(title);
    setAccessibleName(title + QStringLiteral("，") + QString::fromStdString(cell_.preset.sizeLabel()));
    glyph_->setValues(cellGlyph(cell_));
    if (selectionChanged) announceSelected(this);
    update();
}

void ResolutionPanelCell::setTitleStyle(ResolutionPanelModel::TitleStyle style) {
    if (style == titleStyle_) return;
    const bool taller = style.lines != titleStyle_.lines;
    titleStyle_ = style;
    if (taller) updateGeometry();
    update();
}

int ResolutionPanelCell::linesNeeded(const QString& title, double pointSize, double cellWidth) {
    const double width = std::max(1.0, cellWidth - 2 * kCellHorizontalPadding);
    return static_cast<int>(wrappedLines(title, cellTitleFont(pointSize), width, std::numeric_limits<int>::max()).size());
}

QStringList ResolutionPanelCell::titleLines() const {
    return wrappedLines(text(), cellTitleFont(titleStyle_.pointSize), std::max(1.0, width() - 2 * kCellHorizontalPadding),
                        titleStyle_.lines);
}

QSize ResolutionPanelCell::sizeHint() const {
    const double titleHeight = QFontMetricsF(cellTitleFont(titleStyle_.pointSize)).lineSpacing() * titleStyle_.lines;
    const double content = kCellVerticalPadding * 2 + glyph_->height() + kCellSpacing + titleHeight + kCellTextSpacing +
                           QFontMetricsF(cellSizeFont()).height();
    return QSize(static_cast<int>(glyph_->width() + 2 * kCellHorizontalPadding),
                 static_cast<int>(std::ceil(std::max(content, minimumHeight))));
}

QSize ResolutionPanelCell::minimumSizeHint() const { return QSize(10, sizeHint().height()); }

void ResolutionPanelCell::resizeEvent(QResizeEvent* event) {
    QAbstractButton::resizeEvent(event);
    glyph_->move((width() - glyph_->width()) / 2, static_cast<int>(kCellVerticalPadding));
}

void ResolutionPanelCell::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(DesignTokens::disabledOpacity);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(card, DesignTokens::Colors::card.resolved());
    if (cell_.applied) {
        // An inner border: the stroke lies wholly inside the card.
        const double half = DesignTokens::selectedStroke / 2;
        QPainterPath ring;
        ring.addRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), DesignTokens::radiusMd - half,
                            DesignTokens::radiusMd - half);
        painter.strokePath(ring, QPen(DesignTokens::Colors::accent.resolved(), DesignTokens::selectedStroke));
    }

    const QRectF text = QRectF(rect()).adjusted(kCellHorizontalPadding, 0, -kCellHorizontalPadding, 0);
    const QFont titleFont = cellTitleFont(titleSize());
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF sizeMetrics(cellSizeFont());
    // The title's lines sit in the room kept for the grid's line count, centred in it.
    const QStringList lines = titleLines();
    const double room = titleMetrics.lineSpacing() * titleStyle_.lines;
    double top = kCellVerticalPadding + glyph_->height() + kCellSpacing;
    double line = top + (room - titleMetrics.lineSpacing() * static_cast<double>(lines.size())) / 2;
    painter.setFont(titleFont);
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    for (const QString& shown : lines) {
        painter.drawText(QRectF(text.left(), line, text.width(), titleMetrics.lineSpacing()), Qt::AlignCenter, shown);
        line += titleMetrics.lineSpacing();
    }
    top += room + kCellTextSpacing;
    painter.setFont(cellSizeFont());
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    painter.drawText(QRectF(text.left(), top, text.width(), sizeMetrics.height()), Qt::AlignCenter,
                     sizeMetrics.elidedText(QString::fromStdString(cell_.preset.sizeLabel()), Qt::ElideRight,
                                            text.width()));
}

// One step: its "A"; the bar draws the track and the thumb behind it.
class ScaleSegmentBar::Segment final : public QAbstractButton, public AccessibleControl {
public:
    explicit Segment(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::NoFocus); }

    void render(const ResolutionPanelModel::Segment& segment) {
        const bool selectionChanged = segment.selected != segment_.selected;
        segment_ = segment;
        const QString title = qtText(segment_.title);
        setText(QStringLiteral("A"));
        setAccessibleName(title);
        setToolTip(title);
        setEnabled(segment_.enabled);
        if (selectionChanged) announceSelected(this);
        update();
    }

    std::optional<bool> accessibleSelected() const override { return segment_.selected; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (!isEnabled()) painter.setOpacity(DesignTokens::disabledOpacity);
        QColor color = (segment_.current ? DesignTokens::Colors::textPrimary : DesignTokens::Colors::textTertiary)
                           .resolved();
        if (isDown()) color.setAlphaF(color.alphaF() * DesignTokens::pressedSegmentOpacity);
        painter.setFont(DesignTokens::font(segment_.letterSize,
                                           segment_.current ? FontWeight::semibold : FontWeight::regular));
        painter.setPen(color);
        painter.drawText(QRectF(rect()), Qt::AlignCenter, text());
    }

private:
    ResolutionPanelModel::Segment segment_;
};

ScaleSegmentBar::ScaleSegmentBar(std::function<void(std::int64_t)> onScale, QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (const auto& step : ResolutionPanelModel::scaleSteps) {
        auto* button = new Segment(this);
        connect(button, &QAbstractButton::clicked, this, [onScale, percent = step.percent] { onScale(percent); });
        buttons_.push_back(button);
    }
    DesignTokens::repaintOnAppearanceChange(this);
}

void ScaleSegmentBar::render(const std::vector<ResolutionPanelModel::Segment>& segments) {
    segments_ = segments;
    for (std::size_t index = 0; index < buttons_.size() && index < segments_.size(); ++index) {
        buttons_[index]->render(segments_[index]);
    }
    update();
}

QAbstractButton* ScaleSegmentBar::segment(std::int64_t percent) const {
    for (std::size_t index = 0; index < segments_.size() && index < buttons_.size(); ++index) {
        if (segments_[index].percent == percent) return buttons_[index];
    }
    return nullptr;
}

QSize ScaleSegmentBar::sizeHint() const {
    return QSize(static_cast<int>(buttons_.size() * kSegmentMinimumHeight),
                 static_cast<int>(kSegmentMinimumHeight + 2 * kTrackPadding));
}

void ScaleSegmentBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void ScaleSegmentBar::place() {
    if (buttons_.empty()) return;
    const double count = static_cast<double>(buttons_.size());
    const double each = (width() - 2 * kTrackPadding - (count - 1) * kSegmentSpacing) / count;
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        const QRectF cell(kTrackPadding + static_cast<double>(index) * (each + kSegmentSpacing), kTrackPadding, each,
                          height() - 2 * kTrackPadding);
        buttons_[index]->setGeometry(cell.toAlignedRect());
    }
}

void ScaleSegmentBar::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(track, DesignTokens::Colors::segmentTrack.resolved(dark));
    for (std::size_t index = 0; index < segments_.size() && index < buttons_.size(); ++index) {
        const auto& segment = segments_[index];
        if (segment.thumbOpacity <= 0) continue;
        const QRectF thumb(buttons_[index]->geometry());
        painter.setOpacity(segment.thumbOpacity);
        QPainterPath shadow;
        shadow.addRoundedRect(thumb.translated(0, kThumbShadowOffset), DesignTokens::radiusSm, DesignTokens::radiusSm);
        painter.fillPath(shadow, QColor(0, 0, 0, static_cast<int>(std::lround(255 * kThumbShadowOpacity))));
        QPainterPath fill;
        fill.addRoundedRect(thumb, DesignTokens::radiusSm, DesignTokens::radiusSm);
        painter.fillPath(fill, DesignTokens::Colors::segmentThumb.resolved(dark));
        painter.setOpacity(1);
    }
}

RestoreButton::RestoreButton(QWidget* parent) : QAbstractButton(parent) {
    setText(QStringLiteral("还原本机"));
    setAccessibleName(QStringLiteral("还原本机"));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    hover_ = PointerHover::shared().track(this, hoverID, [this](bool hovered) {
        hovering_ = hovered;
        update();
    });
    connect(this, &QAbstractButton::pressed, this, [this] { update(); });
    connect(this, &QAbstractButton::released, this, [this] { update(); });
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize RestoreButton::sizeHint() const {
    const QFontMetricsF metrics(DesignTokens::font(DesignTokens::fontBody, FontWeight::medium));
    const double height = std::max(kRestoreMinimumHeight, std::ceil(metrics.height()));
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(text()) + DesignTokens::fontBody +
                                            kRestoreSymbolSpacing + 2 * DesignTokens::buttonHorizontalPadding)),
                 static_cast<int>(height));
}

bool RestoreButton::hitButton(const QPoint& position) const {
    QPainterPath capsule;
    const double radius = height() / 2.0;
    capsule.addRoundedRect(QRectF(rect()), radius, radius);
    return capsule.contains(QPointF(position));
}

void RestoreButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(DesignTokens::disabledOpacity);
    QPainterPath capsule;
    const double radius = height() / 2.0;
    capsule.addRoundedRect(QRectF(rect()), radius, radius);
    const bool lit = hovering_ || isDown();
    painter.fillPath(capsule,
                     (lit ? DesignTokens::Colors::secondaryFillPressed : DesignTokens::Colors::secondaryFill).resolved());

    const QFont font = DesignTokens::font(DesignTokens::fontBody, FontWeight::medium);
    const QFontMetricsF metrics(font);
    const double symbol = DesignTokens::fontBody;
    const double whole = symbol + kRestoreSymbolSpacing + metrics.horizontalAdvance(text());
    const double left = (width() - whole) / 2;
    const QColor color = DesignTokens::Colors::textPrimary.resolved();
    Symbols::paint(painter, QRectF(left, 0, symbol, height()), "arrow.counterclockwise", symbol, color);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(left + symbol + kRestoreSymbolSpacing, 0, whole - symbol - kRestoreSymbolSpacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace dorvane
