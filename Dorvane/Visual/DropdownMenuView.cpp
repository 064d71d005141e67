#include "Dorvane/Visual/DropdownMenuView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

namespace dorvane {

using Metrics = GlassDropdownMetrics;

class DropdownMenuView::Rows final : public QWidget {
public:
    Rows(DropdownMenuView& view, RowAction select, RowAction hover)
        : view_(view), select_(std::move(select)), hover_(std::move(hover)) {
        setMouseTracking(true);
        DesignTokens::repaintOnAppearanceChange(this);
    }

    static int contentHeight(std::size_t count) {
        return static_cast<int>(static_cast<double>(count) * Metrics::rowHeight + 2 * Metrics::listPadding);
    }

    QRect rowRect(int row) const {
        return QRectF(Metrics::listPadding, Metrics::listPadding + row * Metrics::rowHeight,
                      width() - 2 * Metrics::listPadding, Metrics::rowHeight)
            .toAlignedRect();
    }

    std::optional<int> rowAt(QPointF position) const {
        const double y = position.y() - Metrics::listPadding;
        const double x = position.x();
        if (y < 0 || x < Metrics::listPadding || x > width() - Metrics::listPadding) return std::nullopt;
        const int row = static_cast<int>(y / Metrics::rowHeight);
        if (row >= static_cast<int>(view_.model_.rows.size())) return std::nullopt;
        return row;
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        const bool dark = VisualAppearance::shared().dark();
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFont titleFont = DesignTokens::font(Metrics::titleFont);
        const QFontMetricsF titleMetrics(titleFont);
        const auto& rows = view_.model_.rows;
        for (int index = 0; index < static_cast<int>(rows.size()); ++index) {
            const QRectF row = QRectF(rowRect(index));
            if (view_.model_.highlighted == index) {
                QPainterPath fill;
                fill.addRoundedRect(row, Metrics::highlightRadius, Metrics::highlightRadius);
                painter.fillPath(fill, DesignTokens::Colors::secondaryFillPressed.resolved(dark));
            }
            const QRectF check(row.left() + Metrics::rowPadding, row.top(), Metrics::checkmarkWidth, row.height());
            // The column keeps its width whether or not the mark shows.
            if (rows[static_cast<std::size_t>(index)].selected) {
                Symbols::paint(painter, check, "checkmark", Metrics::checkmarkFont.pointSize,
                               DesignTokens::Colors::accent.resolved(dark));
            }
            const double left = check.right() + Metrics::checkmarkSpacing;
            const QRectF title(left, row.top(), std::max(0.0, row.right() - Metrics::rowPadding - left), row.height());
            painter.setFont(titleFont);
            painter.setPen(DesignTokens::Colors::textPrimary.resolved(dark));
            painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                             titleMetrics.elidedText(rows[static_cast<std::size_t>(index)].title, Qt::ElideRight,
                                                     title.width()));
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const auto row = rowAt(event->position());
        if (row == pointerRow_) return;
        pointerRow_ = row;
        // Entering a row highlights it; leaving one does nothing.
        if (row && hover_) hover_(*row);
    }

    void leaveEvent(QEvent* /*event*/) override { pointerRow_.reset(); }

    void mousePressEvent(QMouseEvent* event) override {
        pressedRow_ = event->button() == Qt::LeftButton ? rowAt(event->position()) : std::nullopt;
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        const auto row = rowAt(event->position());
        const bool click = event->button() == Qt::LeftButton && row && row == pressedRow_;
        pressedRow_.reset();
        // A copy: choosing may end this list and everything it holds.
        if (click && select_) {
            const RowAction select = select_;
            select(*row);
        }
    }

private:
    DropdownMenuView& view_;
    RowAction select_;
    RowAction hover_;
    std::optional<int> pointerRow_;
    std::optional<int> pressedRow_;
};

DropdownMenuView::DropdownMenuView(RowAction select, RowAction hover, QWidget* parent)
    : QWidget(parent), scrollArea_(new QScrollArea(this)), rows_(new Rows(*this, std::move(select), std::move(hover))) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setAutoFillBackground(false);
    scrollArea_->viewport()->setAutoFillBackground(false);
    rows_->setAutoFillBackground(false);
    scrollArea_->setWidget(rows_);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::NoFocus);
}

void DropdownMenuView::setModel(DropdownMenuModel model) {
    const bool sizeChanged = model.rows.size() != model_.rows.size();
    model_ = std::move(model);
    if (sizeChanged) {
        rows_->setMinimumHeight(Rows::contentHeight(model_.rows.size()));
        updateGeometry();
    }
    rows_->update();
    scrollToHighlight();
}

void DropdownMenuView::scrollToHighlight() {
    if (!model_.highlighted) return;
    const QRect row = rows_->rowRect(*model_.highlighted);
    scrollArea_->ensureVisible(row.center().x(), row.center().y(), 0, row.height() / 2);
}

// The first layout gives the list its height: the selected row is brought into view then.
void DropdownMenuView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scrollToHighlight();
}

void DropdownMenuView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scrollToHighlight();
}

QRect DropdownMenuView::rowRect(int row) const {
    const QRect inRows = rows_->rowRect(row);
    return QRect(rows_->mapTo(this, inRows.topLeft()), inRows.size());
}

int DropdownMenuView::scrollOffset() const { return scrollArea_->verticalScrollBar()->value(); }

QSize DropdownMenuView::sizeHint() const {
    return QSize(static_cast<int>(Metrics::rowHeight * 4),
                 static_cast<int>(Metrics::menuHeight(model_.rows.size())));
}

}  // namespace dorvane
