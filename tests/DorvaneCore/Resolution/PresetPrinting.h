#pragma once

#include <ostream>

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"

// Readable GoogleTest failures for values compared whole. Every test that
// compares these types includes this, so all see the same printer.
namespace dorvane {

inline void PrintTo(const CustomPreset& preset, std::ostream* out) { *out << json::serialize(preset.toJson()); }

inline void PrintTo(const ResolutionAdjustment& adjustment, std::ostream* out) {
    *out << adjustment.base.label() << " @ " << adjustment.scalePercent << "%";
}

}  // namespace dorvane
