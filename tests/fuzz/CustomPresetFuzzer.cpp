// One user-defined resolution preset, decoded and then validated.

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeOrRefuse(data, size, [](std::string_view text) {
        dorvane::CustomPreset::fromJson(dorvane::json::parse(text)).validate();
    });
}
