// "session.json" (and its ".last" and ".failed" copies), and the worker's snapshot answer.

#include <vector>

#include "DorvaneCore/Display/DisplayState.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size, [](std::string_view text) { return dorvane::parseDisplayStates(text); },
        [](const std::vector<dorvane::DisplayState>& displays) {
            return dorvane::json::serialize(dorvane::encodeDisplayStates(displays));
        });
}
