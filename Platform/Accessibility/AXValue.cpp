#include "Platform/Accessibility/AXValue.h"

#include <cmath>

#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane::accessibility {

namespace {

std::string number(double value) {
    if (std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    return std::isfinite(value) ? decimalText(value) : std::string(std::isnan(value) ? "nan" : "inf");
}

}  // namespace

std::string describeValue(const AXValue& value) {
    struct Describe {
        std::string operator()(bool flag) const { return flag ? "true" : "false"; }
        std::string operator()(double figure) const { return number(figure); }
        std::string operator()(const std::string& text) const { return "\"" + text + "\""; }
        std::string operator()(const geometry::Point& point) const { return number(point.x) + "," + number(point.y); }
        std::string operator()(const geometry::Size& size) const { return number(size.width) + "x" + number(size.height); }
        std::string operator()(const AXElement&) const { return "element"; }
        std::string operator()(const std::vector<AXElement>& list) const {
            return std::to_string(list.size()) + (list.size() == 1 ? " element" : " elements");
        }
    };
    return std::visit(Describe{}, value);
}

}  // namespace dorvane::accessibility
