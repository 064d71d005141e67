#pragma once

#include <optional>
#include <vector>

#include <QWidget>

namespace dorvane {

// The operation cards in two columns of equal width, 8 points apart both ways, in the order
// given. Cards keep their widgets: a new order moves them, gliding to their new places when
// asked to. Its height follows from the cards alone, whatever its width.
class OperationGrid final : public QWidget {
public:
    explicit OperationGrid(QWidget* parent = nullptr);

    // Lays `cards` (children of this grid) out in this order.
    void setCards(std::vector<QWidget*> cards, bool animated);
    // Where each card lies once laid out, in the grid's coordinates.
    QRect slot(std::size_t index) const;
    // The index of the slot holding `point` (grid coordinates).
    std::optional<std::size_t> slotAt(QPoint point) const;
    const std::vector<QWidget*>& cards() const { return cards_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place(bool animated);
    int rowHeight(std::size_t row) const;

    std::vector<QWidget*> cards_;
};

}  // namespace dorvane
