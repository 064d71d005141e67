#include "DorvaneCore/Launcher/LauncherViewMetrics.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

double LauncherViewMetrics::messageWidth(bool empty, const std::optional<std::string>& error,
                                         const TextMeasurer& measure) {
    if (!measure) return 0;
    double width = 0;
    if (empty) width = measure(emptyMessage, emptyFont);
    if (error) {
        const double banner =
            2 * bannerHorizontalPadding + bannerSymbolSize + bannerSpacing + measure(*error, bannerFont);
        width = std::max(width, banner);
    }
    if (!std::isfinite(width) || width <= 0) return 0;
    return std::min(std::ceil(width), messageMaximumWidth);
}

}  // namespace dorvane
