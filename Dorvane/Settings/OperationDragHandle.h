#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "Dorvane/InputViews/OperationDragHandleMarker.h"

namespace dorvane {

// The grip at an operation card's leading edge: six dots; pressing it and moving the
// pointer drags the card (OperationDragController does the dragging). It reports the
// press, the moves while held and the release, in global coordinates; drag-to-scroll
// leaves it alone, as it carries the marker. Tooltip "拖动排序", accessible name "排序"
// and the card's title.
class OperationDragHandle final : public QWidget, public OperationDragHandleMarker {
public:
    explicit OperationDragHandle(QWidget* parent = nullptr);

    void set(const std::string& operationID, const QString& accessibleName);
    const std::string& operationID() const { return operationID_; }

    std::function<void(const std::string& operationID, QPoint global)> onPress;
    std::function<void(QPoint global)> onMove;
    std::function<void(QPoint global)> onRelease;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::string operationID_;
};

}  // namespace dorvane
