#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QPoint>
#include <QPointer>

#include "DorvaneCore/QuickActions/OperationMoves.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"

class QLabel;
class QWidget;

namespace dorvane {

// Reorders the operation cards by dragging a grip, without the platform's drag and drop:
// from 3 points of movement on, a picture of the card follows the pointer in a frameless
// window, and each time the pointer enters a card other than the dragged one the dragged
// operation takes that card's place through one move. Releasing ends the drag and Escape
// cancels it; the moves made stay, the picture glides back to the card's place (at once
// under Reduce Motion), and the dragged operation is cleared on every ending. Main thread.
class OperationDragController final : public QObject {
public:
    struct Page {
        std::function<std::vector<ConfiguredOperation>()> operations;  // in the order shown now
        std::function<void(const OperationMove&)> move;                // onMoveOperations
        std::function<void(std::optional<std::string>)> setDragged;    // the view's draggedOperationID
        std::function<QWidget*(const std::string&)> card;              // the card of an operation, if shown
        // The picture of a card: it as big as its last measured size.
        std::function<QPixmap(const std::string&)> picture;
        std::function<std::optional<std::string>(QPoint global)> cardAt;  // the card under a point
        std::function<bool()> reduceMotion;
    };

    explicit OperationDragController(Page page, QObject* parent = nullptr);
    ~OperationDragController() override;

    // From the grip: the press, the moves while held, the release.
    void press(const std::string& operationID, QPoint global);
    void moved(QPoint global);
    void released();
    // Ends a drag (or a press) without a drop, as Escape does.
    void cancel();

    bool isDragging() const { return dragged_.has_value(); }
    // The picture following the pointer, while dragging or gliding back.
    QLabel* picture() const { return picture_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin(QPoint global);
    void end();

    Page page_;
    std::optional<std::string> pressedID_;
    QPoint pressPoint_;
    std::optional<std::string> dragged_;
    QPoint grabOffset_;                       // from the card's corner to the pointer
    std::optional<std::string> hovered_;      // the card the pointer is in
    QPointer<QLabel> picture_;
};

}  // namespace dorvane
