// "stable-layouts.json": whatever it holds, reading it never fails (an unusable file is an
// empty store), so here even our own errors must not escape.

#include <string>

#include "DorvaneCore/Display/StableModes.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto modes = dorvane::StableModes::fromFileText(text);
    (void)modes.toJson();
    // What the strict decoder accepts is written back as the same record.
    return dorvane::fuzz::decodeRoundTrip(
        text, [](std::string_view document) { return dorvane::StableModes::fromJson(dorvane::json::parse(document)); },
        [](const dorvane::StableModes& record) { return dorvane::json::serialize(record.toJson()); });
}
