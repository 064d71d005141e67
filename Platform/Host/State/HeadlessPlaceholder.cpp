#include "Platform/Host/State/HeadlessPlaceholder.h"

namespace dorvane::host {

DisplayRecord makeHeadlessPlaceholder(DisplayID id) {
    using displays::kDisplayModeDefaultFlag;
    using displays::kDisplayModeSafeFlag;
    using displays::kDisplayModeValidFlag;
    DisplayRecord placeholder;
    placeholder.kind = DisplayKind::placeholder;
    placeholder.name = "placeholder";
    placeholder.id = id;
    placeholder.vendor = kPlaceholderVendor;
    placeholder.model = kPlaceholderModel;
    placeholder.serial = 0;
    placeholder.uuid = "E0D5B1C4-2A7F-4F3B-9C61-5D8A0E4B7F20";
    // One 1920 x 1080 mode at one pixel a point, usable and the default.
    constexpr std::uint32_t flags = kDisplayModeValidFlag | kDisplayModeSafeFlag | kDisplayModeDefaultFlag;
    placeholder.modes = {HostMode{{1, 1920, 1080, 1920, 1080, 60.0, flags}, false}};
    placeholder.currentModeID = 1;
    return placeholder;
}

}  // namespace dorvane::host
