#include "Platform/Host/State/ScreenLayout.h"

namespace dorvane::host {

std::vector<displays::Screen> screensOf(const HostState& state) {
    std::vector<displays::Screen> screens;
    for (const auto* display : state.onlineDisplays()) {
        const HostMode* mode = display->currentMode();
        if (mode == nullptr || display->mirror != 0) continue;
        if (state.asleep && display->kind == DisplayKind::physical) continue;
        displays::Screen screen;
        screen.displayID = display->id;
        screen.frame = display->bounds();
        screen.visibleFrame = screen.frame;
        if (display->main) {
            const double menuBar = display->notch ? kNotchedMenuBarHeight : kMenuBarHeight;
            screen.visibleFrame.y += menuBar;
            screen.visibleFrame.height -= menuBar;
        }
        screen.backingScaleFactor =
            mode->info.width > 0 ? double(mode->info.pixelWidth) / double(mode->info.width) : 1.0;
        screens.push_back(screen);
    }
    return screens;
}

}  // namespace dorvane::host
