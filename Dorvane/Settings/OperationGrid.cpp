#include "Dorvane/Settings/OperationGrid.h"

#include <algorithm>

#include <QPropertyAnimation>

#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

namespace {
constexpr auto kColumns = static_cast<std::size_t>(QuickActionsMetrics::gridColumns);
constexpr int kSpacing = QuickActionsMetrics::gridSpacing;
constexpr int kPadding = QuickActionsMetrics::gridPadding;
const char* const kGlideName = "corvelle-glide";
}  // namespace

OperationGrid::OperationGrid(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void OperationGrid::setCards(std::vector<QWidget*> cards, bool animated) {
    const bool same = cards == cards_;
    cards_ = std::move(cards);
    place(animated && !same);
}

int OperationGrid::rowHeight(std::size_t row) const {
    int height = 0;
    for (std::size_t i = row * kColumns; i < std::min(cards_.size(), (row + 1) * kColumns); ++i) {
        height = std::max(height, cards_[i]->sizeHint().expandedTo(cards_[i]->minimumSize()).height());
    }
    return height;
}

QRect OperationGrid::slot(std::size_t index) const {
    const std::size_t row = index / kColumns;
    const std::size_t column = index % kColumns;
    const double inner = width() - 2 * kPadding;
    const double cardWidth = std::max(0.0, (inner - kSpacing * (kColumns - 1)) / static_cast<double>(kColumns));
    int top = kPadding;
    for (std::size_t r = 0; r < row; ++r) top += rowHeight(r) + kSpacing;
    const int left = kPadding + static_cast<int>(column * (cardWidth + kSpacing));
    const int right = kPadding + static_cast<int>((column + 1) * (cardWidth + kSpacing) - kSpacing);
    return QRect(left, top, right - left, rowHeight(row));
}

std::optional<std::size_t> OperationGrid::slotAt(QPoint point) const {
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        if (slot(i).contains(point)) return i;
    }
    return std::nullopt;
}

void OperationGrid::resizeEvent(QResizeEvent* /*event*/) { place(false); }

void OperationGrid::place(bool animated) {
    const std::size_t rows = (cards_.size() + kColumns - 1) / kColumns;
    int height = 2 * kPadding;
    for (std::size_t r = 0; r < rows; ++r) height += rowHeight(r) + (r > 0 ? kSpacing : 0);
    setFixedHeight(cards_.empty() ? 0 : height);
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        QWidget* card = cards_[i];
        const QRect target = slot(i);
        if (auto* gliding = card->findChild<QPropertyAnimation*>(kGlideName, Qt::FindDirectChildrenOnly)) {
            if (gliding->endValue().toRect() == target) continue;
            delete gliding;
        }
        if (!animated || !card->isVisible() || card->geometry() == target) {
            card->setGeometry(target);
            card->show();
            continue;
        }
        auto* glide = new QPropertyAnimation(card, "geometry", card);
        glide->setObjectName(kGlideName);
        glide->setDuration(static_cast<int>(DesignTokens::reorderDuration * 1000));
        glide->setEasingCurve(QEasingCurve::OutCubic);
        glide->setEndValue(target);
        glide->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

}  // namespace dorvane
