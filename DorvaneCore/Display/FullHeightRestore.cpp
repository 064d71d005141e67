#include "DorvaneCore/Display/FullHeightRestore.h"

#include <cmath>

namespace dorvane {

DisplayMode FullHeightRestore::mode(const DisplayMode& saved, const std::vector<DisplayMode>& available,
                                    const std::optional<Dimensions>& nativePixels, bool builtin) {
    if (!builtin || !nativePixels || nativePixels->width < 1 || nativePixels->height < 1 || saved.width < 1 ||
        saved.height < 1 || saved.pixelWidth < 1) {
        return saved;
    }
    const double w = static_cast<double>(saved.width);
    const double h = static_cast<double>(saved.height);
    const double fullHeight = static_cast<double>(nativePixels->height) * w / static_cast<double>(nativePixels->width);

    const bool sixteenByTen = std::fabs(h - w * 10 * 0.0625) <= 1.0;
    if (!sixteenByTen || !(h + 1 < fullHeight) || !(fullHeight <= h * 1.06)) return saved;

    const double savedScale = static_cast<double>(saved.pixelWidth) / w;
    for (const auto& m : available) {
        if (m.width != saved.width || m.pixelWidth != saved.pixelWidth) continue;
        if (m.height <= saved.height || m.height < 1) continue;
        if (std::fabs(static_cast<double>(m.height) - fullHeight) > 1.0) continue;
        const double scale = static_cast<double>(m.pixelHeight) / static_cast<double>(m.height);
        if (std::fabs(scale - savedScale) >= 0.01) continue;
        if (std::fabs(m.refresh - saved.refresh) >= 0.01) continue;
        return m;
    }
    return saved;
}

}  // namespace dorvane
