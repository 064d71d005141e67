// "stable-layouts.json": whatever it holds, reading it never fails (an unusable file is an
// empty store), so here even our own errors must not escape.

#include <string>

#include "DorvaneCore/Display/StableModes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto modes = dorvane::StableModes::fromFileText(std::string(reinterpret_cast<const char*>(data), size));
    (void)modes.toJson();
    return 0;
}
