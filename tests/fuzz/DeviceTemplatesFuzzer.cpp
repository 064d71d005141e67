// "device-templates.json", shipped or as the user's override.

#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size,
        [](std::string_view text) {
            auto catalog = dorvane::DeviceTemplateCatalog::decode(text);
            (void)catalog.entries();
            return catalog;
        },
        [](const dorvane::DeviceTemplateCatalog& catalog) { return dorvane::json::serialize(catalog.toJson()); });
}
