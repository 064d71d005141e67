// The display worker's request on standard input ("commit", "normalize-restore").

#include "DorvaneCore/Display/CommitRequest.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dorvane::fuzz::decodeOrRefuse(data, size, [](std::string_view text) {
        dorvane::CommitRequest::fromJson(dorvane::json::parse(text));
    });
}
