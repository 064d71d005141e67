#pragma once

#include <optional>
#include <vector>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Display/DisplayMode.h"

namespace dorvane {

// A built-in panel may offer, beside a 16:10 mode, a slightly taller mode of the
// same width and scale that fills the panel; restoring prefers that one.
class FullHeightRestore {
public:
    FullHeightRestore() = delete;

    // `saved` unchanged, or one element of `available` unchanged. Never fails.
    static DisplayMode mode(const DisplayMode& saved, const std::vector<DisplayMode>& available,
                            const std::optional<Dimensions>& nativePixels, bool builtin);
};

}  // namespace dorvane
