#include "Dorvane/ShellBase/ScreenSpace.h"

namespace dorvane {

ScreenSpace ScreenSpace::of(const std::vector<displays::Screen>& screens,
                            const std::optional<displays::Screen>& acting) {
    if (!screens.empty()) return ScreenSpace{displays::primaryScreenHeight(screens)};
    if (acting) return ScreenSpace{acting->frame.maxY()};
    return ScreenSpace{0};
}

}  // namespace dorvane
