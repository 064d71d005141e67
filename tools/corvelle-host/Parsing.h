#pragma once

#include <cstddef>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::hosttool {

// Words of a command line that stand for numbers; each throws UsageError naming `what`.

// `count` finite numbers separated by commas ("10,20").
std::vector<double> parseFigures(std::string_view text, std::size_t count, std::string_view what);
// "X,Y".
geometry::Point parsePoint(std::string_view text);
// One finite number.
double parseFigure(std::string_view text, std::string_view what);
// Zero or more seconds.
double parseSeconds(std::string_view text);
// A process id, 1 or more.
pid_t parsePID(std::string_view text);

}  // namespace dorvane::hosttool
