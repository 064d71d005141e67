#include "DorvaneCore/Windows/WindowLogText.h"

#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane::windows {

namespace {

// The shortest round-trip decimal without the fraction that decimalText() adds to
// whole numbers: 720, 0.5.
std::string plainDecimalText(double value) {
    std::string text = decimalText(value);
    if (text.ends_with(".0")) text.resize(text.size() - 2);
    return text;
}

std::string optional(const std::optional<std::string>& text) {
    return text ? "Optional(" + *text + ")" : "nil";
}

}  // namespace

std::string rectText(const Rect& rect) {
    return "(" + decimalText(rect.x) + ", " + decimalText(rect.y) + ", " + decimalText(rect.width) + ", " +
           decimalText(rect.height) + ")";
}

std::string optionalText(const std::optional<Rect>& value) {
    return optional(value ? std::optional(rectText(*value)) : std::nullopt);
}

std::string optionalText(std::optional<bool> value) {
    return optional(value ? std::optional<std::string>(*value ? "true" : "false") : std::nullopt);
}

std::string optionalText(std::optional<std::uint32_t> value) {
    return optional(value ? std::optional(std::to_string(*value)) : std::nullopt);
}

std::string operationsRectText(const Rect& rect) {
    return "{{" + plainDecimalText(rect.x) + ", " + plainDecimalText(rect.y) + "}, {" + plainDecimalText(rect.width) +
           ", " + plainDecimalText(rect.height) + "}}";
}

std::string pointText(Point point) { return "(" + decimalText(point.x) + ", " + decimalText(point.y) + ")"; }

}  // namespace dorvane::windows
