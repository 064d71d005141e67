#include "Platform/Displays/ScreenServices.h"

namespace dorvane::displays {

double primaryScreenHeight(const std::vector<Screen>& screens) {
    return screens.empty() ? 0 : screens.front().frame.maxY();
}

}  // namespace dorvane::displays
