#pragma once

#include <ostream>

#include "DorvaneCore/Settings/PreferencesStore.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

// Failures show the record as the file would hold it. Every test that
// compares whole records includes this, so all see the same printer.
namespace dorvane {

inline void PrintTo(const Preferences& preferences, std::ostream* out) { *out << PreferencesStore::encode(preferences); }

}  // namespace dorvane
