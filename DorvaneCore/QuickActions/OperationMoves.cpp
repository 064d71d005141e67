#include "DorvaneCore/QuickActions/OperationMoves.h"

#include <cmath>
#include <string>

namespace dorvane {

namespace {

std::optional<std::int64_t> indexOf(std::span<const ConfiguredOperation> ordered, std::string_view id) {
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        if (ordered[i].id() == id) return static_cast<std::int64_t>(i);
    }
    return std::nullopt;
}

}  // namespace

std::string_view title(OperationStep step) { return step == OperationStep::earlier ? "前移" : "后移"; }

std::optional<OperationMove> oneStepMove(std::span<const ConfiguredOperation> ordered, std::string_view id,
                                         OperationStep step) {
    const auto index = indexOf(ordered, id);
    if (!index) return std::nullopt;
    const std::int64_t neighbour = *index + (step == OperationStep::later ? 1 : -1);
    if (neighbour < 0 || neighbour >= static_cast<std::int64_t>(ordered.size())) return std::nullopt;
    return OperationMove{*index, step == OperationStep::later ? *index + 2 : *index - 1};
}

std::optional<OperationMove> liveMove(std::span<const ConfiguredOperation> ordered,
                                      const std::optional<std::string>& draggedID, std::string_view targetID) {
    if (!draggedID || *draggedID == targetID) return std::nullopt;
    const auto from = indexOf(ordered, *draggedID);
    const auto to = indexOf(ordered, targetID);
    if (!from || !to) return std::nullopt;
    return OperationMove{*from, *from < *to ? *to + 1 : *to};
}

bool startsDrag(double dx, double dy) { return std::hypot(dx, dy) >= dragStartDistance; }

}  // namespace dorvane
