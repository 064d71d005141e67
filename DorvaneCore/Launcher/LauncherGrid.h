#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"

namespace dorvane {

// The launcher's tile grid: 64-point tiles 8 points apart.
namespace launcher_grid {

inline constexpr double tileSize = 64;
inline constexpr double spacing = 8;

// Columns that fit `availableWidth`, at least one.
int columns(double availableWidth);

// Columns of one section's grid: no wider than its tiles.
int sectionColumns(std::size_t tileCount, int columns);

// The cells of one section, row by row from the left: the index of the tile each
// shows, or nullopt for an empty cell. Beside a toolbar on the right, rows fill from
// the right edge, so each row is reversed and a short last row is right-aligned.
std::vector<std::optional<std::size_t>> cells(std::size_t tileCount, int columns, ToolbarSide side);

}  // namespace launcher_grid

}  // namespace dorvane
