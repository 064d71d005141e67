#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "DorvaneCore/Toolbar/ConfiguredOperation.h"

namespace dorvane {

// One call of onMoveOperations: the row at `index` goes before row
// `destination`, both counted in the list before the move (the meaning
// Preferences::moveOperations gives them), which is why one place later is index + 2.
struct OperationMove {
    std::int64_t index = 0;
    std::int64_t destination = 0;
    friend bool operator==(const OperationMove&, const OperationMove&) = default;
};

// The two accessibility actions of a card.
enum class OperationStep {
    earlier,  // "前移"
    later,    // "后移"
};

std::string_view title(OperationStep step);

// Moving the operation `id` one place: none when it is not listed or already at
// that end. With A, B, C: later on A is (0, 2), earlier on C is (2, 1).
std::optional<OperationMove> oneStepMove(std::span<const ConfiguredOperation> ordered, std::string_view id,
                                         OperationStep step);

// The live move while dragging `draggedID` over the card `targetID`: the
// dragged operation takes the target's place, landing after it when moving
// towards the end and before it when moving towards the start. None without a
// drag, over the dragged card itself, or when either id is not listed.
std::optional<OperationMove> liveMove(std::span<const ConfiguredOperation> ordered,
                                      const std::optional<std::string>& draggedID, std::string_view targetID);

// A press on a grip becomes a drag once the pointer has moved 3 points away from it.
inline constexpr double dragStartDistance = 3;
bool startsDrag(double dx, double dy);

}  // namespace dorvane
