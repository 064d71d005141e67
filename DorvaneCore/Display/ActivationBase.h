#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {

// Judges the displays a fit is about to take over: an own virtual display left
// online, or mirroring that points at a display that is gone or is itself a mirror.
class ActivationBase {
public:
    ActivationBase() = delete;

    static constexpr std::uint32_t ownVendor = kVirtualDisplayVendor;

    struct Verdict {
        enum class Kind { ownLeftover, brokenMirror, ok };
        Kind kind = Kind::ok;
        std::vector<std::uint32_t> ids;

        friend bool operator==(const Verdict&, const Verdict&) = default;

        // "ownLeftover([5, 7])", "brokenMirror([3])", "ok": the engine log's form.
        std::string text() const;
    };

    static bool isOwn(std::string_view hardwareKey);
    static Verdict verdict(const std::vector<DisplayState>& displays);
};

}  // namespace dorvane
