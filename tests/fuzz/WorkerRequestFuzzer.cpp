// The display worker's request on standard input ("commit", "normalize-restore").

#include "DorvaneCore/Display/CommitRequest.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeRoundTrip(
        data, size, [](std::string_view text) { return dorvane::CommitRequest::fromJson(dorvane::json::parse(text)); },
        [](const dorvane::CommitRequest& request) { return dorvane::json::serialize(request.toJson()); });
}
