// "shortcut-presets.json", shipped or as the user's override.

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size, [](std::string_view text) { return dorvane::ShortcutPresetCatalog::decode(text); },
        [](const dorvane::ShortcutPresetCatalog& catalog) { return dorvane::json::serialize(catalog.toJson()); });
}
