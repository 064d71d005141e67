#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {

// Matches the displays saved before a fit to the live ones and decides what a
// restore does. Display ids change across reconnection, so matching goes by
// UUID first and then by a hardware key that only one physical display has.
class RestorePlan {
public:
    RestorePlan() = delete;

    struct Outcome {
        enum class Kind { restore, release, deferred };
        Kind kind = Kind::release;
        std::vector<DisplayState> targets;  // restore only

        static Outcome restore(std::vector<DisplayState> targets) { return {Kind::restore, std::move(targets)}; }
        static Outcome release() { return {Kind::release, {}}; }
        static Outcome deferred() { return {Kind::deferred, {}}; }

        // Two restores are equal when their target ids are, in order; other fields are not compared.
        friend bool operator==(const Outcome& left, const Outcome& right);
    };

    // Throws FitError when a saved display cannot be told apart from another live one.
    static Outcome outcome(const std::vector<DisplayState>& saved, const std::vector<DisplayState>& live);

    // The states to commit: live identities with the saved state, rebased on the new main display.
    static std::vector<DisplayState> targets(const std::vector<DisplayState>& saved,
                                             const std::vector<DisplayState>& live);

    static const char* const ambiguousHardwareMessage;

private:
    static std::map<std::uint32_t, DisplayState> mapping(const std::vector<DisplayState>& saved,
                                                         const std::vector<DisplayState>& live);
};

// After a restore: the targets the live displays did not take.
class RestoreDrift {
public:
    RestoreDrift() = delete;

    // A target whose display is gone is not drift.
    static std::vector<DisplayState> drifted(const std::vector<DisplayState>& targets,
                                             const std::vector<DisplayState>& live);
};

}  // namespace dorvane
