#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane {

// Where the resolution panel goes, as a host screen frame (top-left, y down): beside the
// toolbar panel at `toolbarPanel` (a toolkit frame) on `screen`, one to three preset
// columns wide, as tall as its content once the content has reported its height and
// the whole room beside the toolbar until then.
geometry::Rect resolutionPanelFrame(const geometry::Rect& toolbarPanel, const displays::Screen& screen,
                                    const std::vector<displays::Screen>& screens, ToolbarSide side, int presetCount,
                                    std::optional<double> contentHeight);

}  // namespace dorvane
