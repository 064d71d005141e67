#include "Dorvane/Visual/SegmentedPicker.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/AccessibleControl.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

// The selected segment's title is set a weight heavier, so that the choice reads without the
// thumb too.
QFont segmentFont(bool selected = true) {
    return DesignTokens::font(DesignTokens::fontBody, selected ? FontWeight::medium : FontWeight::regular);
}

}  // namespace

// One segment: its title over the track; the picker draws the track and the thumb.
class SegmentedPicker::Segment final : public QAbstractButton, public AccessibleControl {
public:
    Segment(const QString& title, SegmentedPicker& picker) : QAbstractButton(&picker) {
        setText(title);
        setAccessibleName(title);
        setFocusPolicy(controlFocusPolicy);
    }

    void setSelected(bool selected) {
        if (selected == selected_) return;
        selected_ = selected;
        update();
        announceSelected(this);
    }
    std::optional<bool> accessibleSelected() const override { return selected_; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QFont font = segmentFont(selected_);
        painter.setFont(font);
        QColor color = DesignTokens::Colors::textPrimary.resolved();
        if (isDown()) color.setAlphaF(color.alphaF() * DesignTokens::pressedSegmentOpacity);
        painter.setPen(color);
        painter.drawText(QRectF(rect()), Qt::AlignCenter,
                         QFontMetricsF(font).elidedText(text(), Qt::ElideRight, width() - 4));
    }

private:
    bool selected_ = false;
};

SegmentedPicker::SegmentedPicker(const QString& accessibleLabel, const QStringList& titles, QWidget* parent)
    : QWidget(parent) {
    setAccessibleName(accessibleLabel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (int index = 0; index < titles.size(); ++index) {
        auto* segment = new Segment(titles[index], *this);
        connect(segment, &QAbstractButton::clicked, this, [this, index] {
            if (const auto select = onSelect) select(index);
        });
        segments_.push_back(segment);
    }
    DesignTokens::repaintOnAppearanceChange(this);
}

QAbstractButton* SegmentedPicker::segment(int index) const {
    return index >= 0 && index < segmentCount() ? segments_[static_cast<std::size_t>(index)] : nullptr;
}

void SegmentedPicker::setSelectedIndex(std::optional<int> index) {
    if (index && (*index < 0 || *index >= segmentCount())) index.reset();
    if (index == selected_) return;
    selected_ = index;
    for (int i = 0; i < segmentCount(); ++i) segments_[static_cast<std::size_t>(i)]->setSelected(selected_ == i);
    update();
}

QSize SegmentedPicker::sizeHint() const {
    const QFontMetricsF metrics(segmentFont());
    double widest = 0;
    for (const Segment* segment : segments_) widest = std::max(widest, metrics.horizontalAdvance(segment->text()));
    const double width = (std::ceil(widest) + 2 * DesignTokens::buttonHorizontalPadding) * segmentCount();
    return QSize(static_cast<int>(width), static_cast<int>(DesignTokens::segmentHeight));
}

void SegmentedPicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutSegments();
}

void SegmentedPicker::layoutSegments() {
    if (segments_.empty()) return;
    const double inset = DesignTokens::segmentThumbInset;
    const double each = (width() - 2 * inset) / segmentCount();
    for (int index = 0; index < segmentCount(); ++index) {
        const QRectF cell(inset + index * each, inset, each, height() - 2 * inset);
        segments_[static_cast<std::size_t>(index)]->setGeometry(cell.toAlignedRect());
    }
}

void SegmentedPicker::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : DesignTokens::disabledOpacity);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()), DesignTokens::segmentTrackRadius, DesignTokens::segmentTrackRadius);
    painter.fillPath(track, DesignTokens::Colors::segmentTrack.resolved(dark));
    if (!selected_ || segments_.empty()) return;
    const QRectF thumb = QRectF(segments_[static_cast<std::size_t>(*selected_)]->geometry());
    QPainterPath shadow;
    shadow.addRoundedRect(thumb.translated(0, 0.5), DesignTokens::segmentThumbRadius, DesignTokens::segmentThumbRadius);
    painter.fillPath(shadow, DesignTokens::Colors::controlShadow.resolved(dark));
    QPainterPath fill;
    fill.addRoundedRect(thumb, DesignTokens::segmentThumbRadius, DesignTokens::segmentThumbRadius);
    painter.fillPath(fill, DesignTokens::Colors::segmentThumb.resolved(dark));
}

}  // namespace dorvane
