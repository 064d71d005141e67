#include "DorvaneCore/Toolbar/ToolbarStripLayout.h"

#include <algorithm>

#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"

namespace dorvane {

using Layout = DesktopToolbarLayout;
using Rect = ToolbarStripLayout::Rect;

Rect ToolbarStripLayout::documentFrame(double offset) const {
    return horizontal ? Rect{-offset, 0, documentSize.width, documentSize.height}
                      : Rect{0, -offset, documentSize.width, documentSize.height};
}

std::vector<ToolbarFooterButton> ToolbarStripLayout::footerButtons(bool applicationButton, bool windowButton) {
    std::vector<ToolbarFooterButton> buttons;
    if (applicationButton) buttons.push_back(ToolbarFooterButton::application);
    if (windowButton) buttons.push_back(ToolbarFooterButton::window);
    for (const auto button : {ToolbarFooterButton::resolution, ToolbarFooterButton::settings,
                              ToolbarFooterButton::collapse}) {
        buttons.push_back(button);
    }
    return buttons;
}

double ToolbarStripLayout::footerLength(bool applicationButton, bool windowButton) {
    return Layout::footerHeight(1, 1, windowButton, applicationButton);
}

double ToolbarStripLayout::contentLength(int stripButtonCount) {
    return std::max(stripButtonCount * Layout::step - (Layout::step - Layout::buttonHeight), 0.0);
}

ToolbarStripLayout ToolbarStripLayout::make(Size bounds, ToolbarSide side, bool applicationButton, bool windowButton,
                                            int stripButtonCount) {
    constexpr double inset = Layout::customInset;
    constexpr double button = Layout::buttonHeight;
    // A horizontal strip's buttons are as wide as a vertical strip's inside its insets.
    constexpr double horizontalButtonWidth = Layout::width - 2 * inset;
    const double w = bounds.width;
    const double h = bounds.height;
    const double footer = footerLength(applicationButton, windowButton);
    const auto footerCount = static_cast<int>(footerButtons(applicationButton, windowButton).size());
    const double content = contentLength(stripButtonCount);

    ToolbarStripLayout layout;
    layout.horizontal = isHorizontal(side);
    if (layout.horizontal) {
        const double footerLeft = w - footer;
        const double top = (h - button) / 2;
        layout.pedestal = Rect{footerLeft + 2, 12, 1, h - 24};
        for (int i = 0; i < footerCount; ++i) {
            layout.footer.push_back(Rect{footerLeft + inset + Layout::footerStep * i, top, Layout::footerButtonHeight,
                                         button});
        }
        layout.clip = Rect{inset, top, std::max(footerLeft - 2 * inset, 1.0), button};
        layout.documentSize = Size{std::max(layout.clip.width, content), button};
        for (int i = 0; i < stripButtonCount; ++i) {
            layout.strip.push_back(Rect{Layout::step * i, 0, horizontalButtonWidth, button});
        }
        return layout;
    }
    const double footerTop = h - footer;
    layout.grip = Rect{inset, 4, w - 2 * inset, 24};
    layout.pedestal = Rect{12, footerTop + 2, w - 24, 1};
    for (int i = 0; i < footerCount; ++i) {
        layout.footer.push_back(Rect{inset, footerTop + 6 + Layout::footerStep * i, w - 2 * inset,
                                     Layout::footerButtonHeight});
    }
    layout.clip = Rect{inset, inset, w - 2 * inset, std::max(footerTop - 2 * inset, 1.0)};
    layout.documentSize = Size{w - 2 * inset, std::max(layout.clip.height, content)};
    for (int i = 0; i < stripButtonCount; ++i) {
        layout.strip.push_back(Rect{0, Layout::step * i, w - 2 * inset, button});
    }
    return layout;
}

}  // namespace dorvane
