// "preferences.json" as the settings store reads it.

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size, [](std::string_view text) { return dorvane::Preferences::fromJson(dorvane::json::parse(text)); },
        [](const dorvane::Preferences& preferences) { return dorvane::PreferencesStore::encode(preferences); });
}
