// One user-defined resolution preset, decoded and then validated.

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size,
        [](std::string_view text) {
            auto preset = dorvane::CustomPreset::fromJson(dorvane::json::parse(text));
            preset.validate();
            return preset;
        },
        [](const dorvane::CustomPreset& preset) { return dorvane::json::serialize(preset.toJson()); });
}
