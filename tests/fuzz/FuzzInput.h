#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <concepts>
#include <type_traits>
#include <vector>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Hands the input to `decode` as the text of a document. Refusing it with a decoding
// error or a FitError is what a decoder must do with bad input; any other exception
// escapes, and libFuzzer reports it with the input that caused it.
template <typename Decode>
int decodeOrRefuse(const std::uint8_t* data, std::size_t size, Decode decode) {
    try {
        decode(textOf(data, size));
    } catch (const json::DecodeError&) {
    } catch (const FitError&) {
    }
    return 0;
}

// Whether values can be compared as values: a list only when its elements can.
template <typename T>
struct Comparable : std::bool_constant<std::equality_comparable<T>> {};
template <typename T, typename A>
struct Comparable<std::vector<T, A>> : Comparable<T> {};

[[noreturn]] inline void roundTripBroken(const char* what) {
    std::fprintf(stderr, "round trip broken: %s\n", what);
    std::abort();
}

// Decodes the text (a refusal is fine); what is accepted must survive its own encoding:
// encoded and decoded again it is the same value (compared as values where the type can
// be, and always by its encoding), or the fuzzer stops with the input that broke it.
// `decode` takes the text of a document, `encode` answers the text it writes.
template <typename Decode, typename Encode>
int decodeRoundTrip(std::string_view text, Decode decode, Encode encode) {
    using Value = std::decay_t<decltype(decode(text))>;
    std::optional<Value> first;
    try {
        first.emplace(decode(text));
    } catch (const json::DecodeError&) {
        return 0;
    } catch (const FitError&) {
        return 0;
    }
    const std::string written = encode(*first);
    std::optional<Value> second;
    try {
        second.emplace(decode(written));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        roundTripBroken("what was written cannot be read back");
    }
    if constexpr (Comparable<Value>::value) {
        if (!(*first == *second)) roundTripBroken("read back as another value");
    }
    if (encode(*second) != written) roundTripBroken("written differently the second time");
    return 0;
}

template <typename Decode, typename Encode>
int decodeRoundTrip(const std::uint8_t* data, std::size_t size, Decode decode, Encode encode) {
    return decodeRoundTrip(textOf(data, size), std::move(decode), std::move(encode));
}

}  // namespace dorvane::fuzz
