// "preferences.json" as the settings store reads it.

#include "DorvaneCore/Settings/Preferences.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeOrRefuse(data, size, [](std::string_view text) {
        dorvane::Preferences::fromJson(dorvane::json::parse(text));
    });
}
