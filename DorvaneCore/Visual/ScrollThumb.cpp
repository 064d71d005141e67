#include "DorvaneCore/Visual/ScrollThumb.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

double thumbLength(double track, int minimum, int maximum, int page, double minimumLength) {
    const double range = static_cast<double>(maximum) - minimum;
    const double shown = std::max(page, 1);
    return std::clamp(track * shown / (range + shown), std::min(minimumLength, track), track);
}

}  // namespace

ScrollThumb ScrollThumb::of(double trackLength, int minimum, int maximum, int page, int value, double minimumLength) {
    if (maximum <= minimum || !(trackLength > 0)) return {};
    const double length = thumbLength(trackLength, minimum, maximum, page, minimumLength);
    const double share = (std::clamp(value, minimum, maximum) - static_cast<double>(minimum)) / (maximum - minimum);
    return ScrollThumb{share * (trackLength - length), length};
}

int ScrollThumb::valueAt(double offset, double trackLength, int minimum, int maximum, int page, double minimumLength) {
    if (maximum <= minimum || !(trackLength > 0)) return minimum;
    const double travel = trackLength - thumbLength(trackLength, minimum, maximum, page, minimumLength);
    if (!(travel > 0) || !std::isfinite(offset)) return minimum;
    const double share = std::clamp(offset / travel, 0.0, 1.0);
    return minimum + static_cast<int>(std::lround(share * (maximum - minimum)));
}

}  // namespace dorvane
