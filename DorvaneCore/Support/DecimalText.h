#pragma once

#include <string>

namespace dorvane {

// Shortest text that reads back as the same double, in fixed notation and
// always with a fraction: 60.0, 59.94, 5123.25, 100000.0 (never 1e+05).
// Used wherever numbers are written into logs.
std::string decimalText(double value);

}  // namespace dorvane
