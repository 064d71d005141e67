#pragma once

#include <functional>
#include <string_view>

namespace dorvane {

enum class FontWeight { regular, medium, semibold };

// The system font at a size in points and a weight.
struct TextFont {
    double pointSize = 13;
    FontWeight weight = FontWeight::regular;
    friend constexpr bool operator==(const TextFont&, const TextFont&) = default;
};

// The width in points of one line of `text` set in `font`. The views pass one
// that measures with the fonts they draw with; tests pass fixed widths.
using TextMeasurer = std::function<double(std::string_view text, const TextFont& font)>;

}  // namespace dorvane
