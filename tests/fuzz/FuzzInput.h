#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::fuzz {

// Hands the input to `decode` as the text of a document. Refusing it with a decoding
// error or a FitError is what a decoder must do with bad input; any other exception
// escapes, and libFuzzer reports it with the input that caused it.
template <typename Decode>
int decodeOrRefuse(const std::uint8_t* data, std::size_t size, Decode decode) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        decode(text);
    } catch (const json::DecodeError&) {
    } catch (const FitError&) {
    }
    return 0;
}

}  // namespace dorvane::fuzz
