#include "Platform/Host/State/HostFixtures.h"

#include "Platform/Host/State/DisplayLayout.h"

namespace dorvane::host {

namespace {

using displays::kDisplayModeDefaultFlag;
using displays::kDisplayModeNativeFlag;
using displays::kDisplayModeSafeFlag;
using displays::kDisplayModeValidFlag;

constexpr std::uint32_t kUsable = kDisplayModeValidFlag | kDisplayModeSafeFlag;

HostMode hiDPI(std::int32_t id, std::int64_t width, std::int64_t height, double refresh, std::uint32_t extraFlags = 0) {
    return HostMode{{id, width, height, width * 2, height * 2, refresh, kUsable | extraFlags}, false};
}

HostMode oneX(std::int32_t id, std::int64_t width, std::int64_t height, double refresh, std::uint32_t flags,
              bool duplicate) {
    return HostMode{{id, width, height, width, height, refresh, flags}, duplicate};
}

// A 14-inch class panel of 3024 x 1964 pixels: scaled modes, the 16:10 variant of the
// default size, its 1x duplicates, the 1x native mode, and one mode not marked valid.
DisplayRecord builtinPanel() {
    DisplayRecord panel;
    panel.kind = DisplayKind::physical;
    panel.name = "builtin";
    panel.vendor = 1552;
    panel.model = 41012;
    panel.serial = 4251086178u;
    panel.builtIn = true;
    panel.uuid = "37D8832A-2D66-02CA-B9F7-8F30A301B230";
    panel.notch = true;
    panel.modes = {
        hiDPI(1, 1512, 982, 60.0, kDisplayModeDefaultFlag | kDisplayModeNativeFlag),
        hiDPI(2, 1512, 945, 60.0),
        hiDPI(3, 1352, 878, 60.0),
        hiDPI(4, 1147, 745, 60.0),
        hiDPI(5, 1800, 1169, 60.0),
        hiDPI(6, 1024, 665, 60.0),
        oneX(7, 3024, 1964, 60.0, kUsable | kDisplayModeNativeFlag, false),
        oneX(8, 1512, 982, 60.0, kUsable, true),
        oneX(9, 1512, 945, 60.0, kUsable, true),
        oneX(10, 1352, 878, 60.0, kUsable, true),
        oneX(11, 1147, 745, 60.0, kUsable, true),
        oneX(12, 1024, 665, 60.0, kUsable, true),
        HostMode{{13, 840, 546, 1680, 1092, 60.0, 0}, false},
    };
    panel.currentModeID = 1;
    return panel;
}

// A 27-inch 3840 x 2160 monitor.
DisplayRecord monitor4K(std::string name) {
    DisplayRecord monitor;
    monitor.kind = DisplayKind::physical;
    monitor.name = std::move(name);
    monitor.vendor = 7789;
    monitor.model = 30589;
    monitor.serial = 16843009;
    monitor.uuid = "6A1C4C3E-9B1F-4D2A-8E37-0F5B2C7D9A14";
    monitor.modes = {
        hiDPI(101, 1920, 1080, 60.0, kDisplayModeDefaultFlag),
        hiDPI(102, 2560, 1440, 60.0),
        hiDPI(103, 1600, 900, 60.0),
        hiDPI(104, 1280, 720, 60.0),
        oneX(105, 3840, 2160, 60.0, kUsable | kDisplayModeNativeFlag, false),
        oneX(106, 3840, 2160, 50.0, kUsable, false),
        oneX(107, 1920, 1080, 60.0, kUsable, true),
        oneX(108, 2560, 1440, 60.0, kUsable, true),
        oneX(109, 1280, 720, 60.0, kUsable, true),
    };
    monitor.currentModeID = 101;
    return monitor;
}

// A 24-inch 1920 x 1080 monitor; its 60 Hz size also comes at 59.94 Hz.
DisplayRecord monitor1080p(std::string name) {
    DisplayRecord monitor;
    monitor.kind = DisplayKind::physical;
    monitor.name = std::move(name);
    monitor.vendor = 4268;
    monitor.model = 41234;
    monitor.serial = 808598066;
    monitor.uuid = "C2F0B7A1-53E4-4C1D-9A6B-7E28D41F0C95";
    monitor.modes = {
        oneX(201, 1920, 1080, 60.0, kUsable | kDisplayModeDefaultFlag | kDisplayModeNativeFlag, false),
        oneX(202, 1920, 1080, 59.94, kUsable, false),
        oneX(203, 1680, 1050, 60.0, kUsable, false),
        oneX(204, 1280, 720, 60.0, kUsable, false),
        hiDPI(205, 960, 540, 60.0),
        oneX(206, 960, 540, 60.0, kUsable, true),
    };
    monitor.currentModeID = 201;
    return monitor;
}

}  // namespace

HostState makeFixture(HostFixture fixture) {
    HostState state;
    switch (fixture) {
        case HostFixture::laptop: state.displays = {builtinPanel()}; break;
        case HostFixture::laptopExternal:
            state.displays = {builtinPanel(), monitor4K("external")};
            state.displays[1].x = 1512;
            break;
        case HostFixture::dualExternal:
            state.displays = {monitor4K("external"), monitor1080p("external-2")};
            state.displays[1].x = 1920;
            break;
    }
    for (auto& display : state.displays) display.id = state.allocateDisplayID();
    state.displays.front().main = true;
    normalizeLayout(state);
    return state;
}

}  // namespace dorvane::host
