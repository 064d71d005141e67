#include "Dorvane/Windows/ToolkitScreens.h"

namespace dorvane::windows {

ToolkitScreens::ToolkitScreens(std::vector<displays::Screen> screens)
    : screens_(std::move(screens)), hostHeight_(displays::primaryScreenHeight(screens_)) {
    std::vector<Rect> toolkitFrames;
    for (const auto& screen : screens_) toolkitFrames.push_back(toolkit(screen.frame));
    toolkitHeight_ = primaryScreenHeight(toolkitFrames);
}

std::vector<Rect> ToolkitScreens::frames() const {
    std::vector<Rect> result;
    for (const auto& screen : screens_) result.push_back(topLeft(toolkit(screen.frame)));
    return result;
}

}  // namespace dorvane::windows
