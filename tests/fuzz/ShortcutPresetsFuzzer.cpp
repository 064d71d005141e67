// "shortcut-presets.json", shipped or as the user's override.

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeOrRefuse(
        data, size, [](std::string_view text) { dorvane::ShortcutPresetCatalog::decode(text); });
}
