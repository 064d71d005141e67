#include "DorvaneCore/Support/DecimalText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace dorvane {

std::string decimalText(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // Fixed notation of a double needs at most 309 integer digits plus the shortest fraction.
    std::array<char, 400> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (error != std::errc{}) return "nan";
    std::string text(buffer.data(), end);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

}  // namespace dorvane
