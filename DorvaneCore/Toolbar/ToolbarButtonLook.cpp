#include "DorvaneCore/Toolbar/ToolbarButtonLook.h"

#include <algorithm>

namespace dorvane {

using geometry::Rect;
using geometry::Size;

ToolbarButtonLook::Background ToolbarButtonLook::background(bool selected, bool highlighted, bool hovering,
                                                            bool enabled) {
    if (selected) return Background::selected;
    if (highlighted) return Background::highlighted;
    return hovering && enabled ? Background::hovered : Background::plain;
}

double ToolbarButtonLook::glyphSize(bool largeIcon, bool caption) {
    if (largeIcon) return 30;
    return caption ? 24 : 20;
}

double ToolbarButtonLook::symbolPointSize(bool largeIcon, bool caption) {
    if (largeIcon) return 28;
    return caption ? 23 : 18;
}

Rect ToolbarButtonLook::glyphFrame(Size bounds, double glyphSize, bool caption) {
    // A captioned glyph sits near the top, above its caption.
    const double y = caption ? 9 : (bounds.height - glyphSize) / 2;
    return Rect{(bounds.width - glyphSize) / 2, y, glyphSize, glyphSize};
}

Rect ToolbarButtonLook::captionFrame(Size bounds) { return Rect{2, 38, bounds.width - 4, 14}; }

Rect ToolbarButtonLook::backgroundFrame(Size bounds) {
    return Rect{1, 1, std::max(bounds.width - 2, 0.0), std::max(bounds.height - 2, 0.0)};
}

double ToolbarButtonLook::cornerRadius(Size bounds, bool circular) {
    return circular ? std::min(bounds.width, bounds.height) / 2 : 10;
}

}  // namespace dorvane
