#include "DorvaneCore/Visual/TransientNoticeLayout.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

using geometry::atLeastOnePoint;
using geometry::finiteLength;

NoticeText::NoticeText(std::string title, const std::optional<std::string>& detail) : title(std::move(title)) {
    if (!detail) return;
    std::string trimmed = text::trimmed(*detail);
    if (!trimmed.empty() && trimmed != this->title) this->detail = std::move(trimmed);
}

std::string NoticeText::announcement() const { return detail ? title + "，" + *detail : title; }

bool TransientNoticeLayout::accepts(const geometry::Rect& area) {
    // Written so that NaN sides are refused too.
    return !area.isNull() && std::abs(area.width) > 0 && std::abs(area.height) > 0;
}

double TransientNoticeLayout::width(const NoticeText& text, double areaWidth, const TextMeasurer& measure) {
    const double titleWidth = finiteLength(measure(text.title, titleFont));
    const double detailWidth = finiteLength(measure(text.detail.value_or(""), detailFont));
    const double wanted = std::ceil(std::max(titleWidth, detailWidth)) + horizontalChrome;
    const double available = atLeastOnePoint(areaWidth - areaInset);
    return std::min(std::max(wanted, minimumWidth), std::min(maximumWidth, available));
}

double TransientNoticeLayout::height(double fittingHeight, double areaHeight) {
    return std::min(std::max(finiteLength(fittingHeight), minimumHeight), atLeastOnePoint(areaHeight - areaInset));
}

geometry::Rect TransientNoticeLayout::frame(const geometry::Rect& area, double width, double height) {
    const geometry::Rect a = area.standardized();
    const double y = std::max(a.maxY() - height - areaInset, a.minY() + bottomClearance);
    return geometry::Rect{a.midX() - width / 2, y, width, height};
}

}  // namespace dorvane
