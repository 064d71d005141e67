#include "DorvaneCore/Display/HeadlessPlaceholder.h"

namespace dorvane {

std::string HeadlessPlaceholder::hardwareKey() { return makeHardwareKey(vendor, model, 0, false); }

bool HeadlessPlaceholder::isPlaceholder(std::string_view key) { return key == hardwareKey(); }

bool HeadlessPlaceholder::isPlaceholder(const DisplayState& display) { return isPlaceholder(display.hardwareKey); }

std::vector<DisplayState> HeadlessPlaceholder::mirrorable(const std::vector<DisplayState>& displays) {
    std::vector<DisplayState> result;
    for (const auto& display : displays) {
        if (!isPlaceholder(display)) result.push_back(display);
    }
    return result;
}

std::vector<DisplayState> HeadlessPlaceholder::ignoringPlaceholders(const std::vector<DisplayState>& displays) {
    return mirrorable(displays);
}

}  // namespace dorvane
