#include "Dorvane/Editors/QtShortcutFlowLayout.h"

#include <algorithm>
#include <cmath>

#include <QWidget>

namespace dorvane {

QtShortcutFlowLayout::QtShortcutFlowLayout(QWidget* parent, double spacing) : QLayout(parent), flow_(spacing) {
    setContentsMargins(0, 0, 0, 0);
}

QtShortcutFlowLayout::~QtShortcutFlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void QtShortcutFlowLayout::addItem(QLayoutItem* item) { items_.push_back(item); }

QLayoutItem* QtShortcutFlowLayout::itemAt(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

QLayoutItem* QtShortcutFlowLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

void QtShortcutFlowLayout::moveWidget(QWidget* widget, int index) {
    const auto found = std::ranges::find_if(items_, [widget](QLayoutItem* item) { return item->widget() == widget; });
    if (found == items_.end()) return;
    const auto from = static_cast<int>(found - items_.begin());
    index = std::clamp(index, 0, count() - 1);
    if (from == index) return;
    QLayoutItem* item = *found;
    items_.erase(found);
    items_.insert(items_.begin() + index, item);
    invalidate();
}

std::vector<QLayoutItem*> QtShortcutFlowLayout::shownItems() const {
    std::vector<QLayoutItem*> shown;
    for (QLayoutItem* item : items_) {
        if (!item->isEmpty()) shown.push_back(item);
    }
    return shown;
}

ShortcutFlowLayout::Arrangement QtShortcutFlowLayout::arrangement(double width) const {
    std::vector<ShortcutFlowLayout::ItemSizing> sizings;
    for (QLayoutItem* item : shownItems()) {
        sizings.emplace_back([item](std::optional<double> proposed) {
            const QSize ideal = item->sizeHint();
            if (!proposed) return geometry::Size{static_cast<double>(ideal.width()), static_cast<double>(ideal.height())};
            const int offered = static_cast<int>(std::floor(*proposed));
            const int height = item->hasHeightForWidth() ? item->heightForWidth(offered) : ideal.height();
            return geometry::Size{*proposed, static_cast<double>(height)};
        });
    }
    return flow_.arrange(sizings, width);
}

int QtShortcutFlowLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    const double inner = width - margins.left() - margins.right();
    return static_cast<int>(std::ceil(arrangement(inner).size.height)) + margins.top() + margins.bottom();
}

QSize QtShortcutFlowLayout::sizeHint() const {
    const QMargins margins = contentsMargins();
    const auto size = arrangement(ShortcutFlowLayout::widthWithoutProposal).size;
    return QSize(static_cast<int>(std::ceil(size.width)) + margins.left() + margins.right(),
                 static_cast<int>(std::ceil(size.height)) + margins.top() + margins.bottom());
}

// Any width serves: the chips wrap, down to one chip per row.
QSize QtShortcutFlowLayout::minimumSize() const {
    QSize smallest(0, 0);
    for (QLayoutItem* item : shownItems()) smallest = smallest.expandedTo(QSize(0, item->minimumSize().height()));
    const QMargins margins = contentsMargins();
    return smallest + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void QtShortcutFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect inner = rect.marginsRemoved(contentsMargins());
    const auto shown = shownItems();
    const auto placed = arrangement(inner.width());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const geometry::Rect& frame = placed.frames[i];
        shown[i]->setGeometry(QRect(inner.left() + static_cast<int>(frame.x), inner.top() + static_cast<int>(frame.y),
                                    static_cast<int>(std::round(frame.width)), static_cast<int>(std::round(frame.height))));
    }
}

}  // namespace dorvane
