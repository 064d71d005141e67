#pragma once

namespace dorvane {

// Marks a widget as the drag grip of an operation card: drag-to-scroll never starts on it
// or inside it, so dragging the grip always drags the card. Nothing to implement.
class OperationDragHandleMarker {
public:
    virtual ~OperationDragHandleMarker() = default;
};

}  // namespace dorvane
