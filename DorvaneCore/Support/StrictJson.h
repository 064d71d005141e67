#pragma once

// Strict reading and safe writing of JSON documents.
//
// nlohmann's own getters silently wrap and truncate numbers ("id": -1 read as a
// uint32 becomes 4294967295, 1.5 becomes 1). Every stored format and protocol of
// the program goes through these helpers instead, so a value of the wrong type or
// out of range fails the whole document with a DecodeError naming where it was.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::json {

using Json = nlohmann::ordered_json;

class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const std::string& reason, std::string path = {});

    // A document that is not JSON at all, failing at byte `offset` of its text.
    static DecodeError at(std::size_t offset, const std::string& reason);

    // The same error one level further out: "mode.width: ..." becomes "targets[0].mode.width: ...".
    DecodeError within(std::string_view segment) const;

    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    // Where in the text a document that is not JSON fails; none for a value that does not
    // decode (its path says where) and where the parser does not say.
    const std::optional<std::size_t>& offset() const { return offset_; }

private:
    std::string path_;
    std::string reason_;
    std::optional<std::size_t> offset_;
};

// Documents nested deeper than this are refused before they are parsed: no stored format
// or protocol of ours comes near it, and code that walks a value recursively (copying,
// comparing, printing) then has bounded depth.
inline constexpr std::size_t maxNestingDepth = 64;

// Parses a whole document. Every failure becomes a DecodeError: syntax, a number out of
// the range of a double ("1e400"), nesting deeper than maxNestingDepth, and anything after
// the document — a NUL byte included, which the library would take for the end.
Json parse(std::string_view text);

// Compact text. Never throws: malformed UTF-8 in a string is replaced by U+FFFD.
std::string serialize(const Json& value);

// Indented text for files people may read; same guarantees as serialize().
std::string serializePretty(const Json& value, int indent = 2);

std::string_view typeName(const Json& value);

// Types decoded by this header. User types provide `static T fromJson(const Json&)`.
template <typename T>
concept SelfDecoding = requires(const Json& value) {
    { T::fromJson(value) } -> std::same_as<T>;
};

template <typename T>
concept SelfEncoding = requires(const T& value) {
    { value.toJson() } -> std::convertible_to<Json>;
};

template <typename T>
struct Decoder;

template <typename T>
T decode(const Json& value) {
    return Decoder<T>::decode(value);
}

const Json& requireObject(const Json& value);
const Json& requireArray(const Json& value);

// The value under `key`; a missing key fails. `object` must be an object.
const Json& requireKey(const Json& object, std::string_view key);

// True when `key` is present and not null.
bool hasValue(const Json& object, std::string_view key);

// Required key, strictly typed.
template <typename T>
T get(const Json& object, std::string_view key) {
    const Json& value = requireKey(object, key);
    try {
        return decode<T>(value);
    } catch (const DecodeError& error) {
        throw error.within(key);
    }
}

// Optional key: missing or null gives nullopt; anything else must decode.
template <typename T>
std::optional<T> getOptional(const Json& object, std::string_view key) {
    requireObject(object);
    auto found = object.find(key);
    if (found == object.end() || found->is_null()) return std::nullopt;
    try {
        return decode<T>(*found);
    } catch (const DecodeError& error) {
        throw error.within(key);
    }
}

// Optional key with a default for missing or null.
template <typename T>
T getOr(const Json& object, std::string_view key, T fallback) {
    auto value = getOptional<T>(object, key);
    return value ? std::move(*value) : std::move(fallback);
}

// ---- encoders ----

namespace detail {

template <typename T>
inline constexpr bool isVector = false;

template <typename T>
inline constexpr bool isVector<std::vector<T>> = true;

}  // namespace detail

template <typename T>
Json encodeArray(const std::vector<T>& values);

template <typename T>
Json encode(const T& value) {
    if constexpr (SelfEncoding<T>) {
        return value.toJson();
    } else if constexpr (detail::isVector<T>) {
        return encodeArray(value);
    } else if constexpr (RawValueEnum<T>) {
        return Json(std::string(rawValue(value)));
    } else {
        return Json(value);
    }
}

template <typename T>
Json encodeArray(const std::vector<T>& values) {
    Json array = Json::array();
    for (const auto& value : values) array.push_back(encode(value));
    return array;
}

// ---- decoders ----

namespace detail {

template <typename T>
std::string_view integerName() {
    if constexpr (std::same_as<T, std::int8_t>) return "int8";
    else if constexpr (std::same_as<T, std::uint8_t>) return "uint8";
    else if constexpr (std::same_as<T, std::int16_t>) return "int16";
    else if constexpr (std::same_as<T, std::uint16_t>) return "uint16";
    else if constexpr (std::same_as<T, std::int32_t>) return "int32";
    else if constexpr (std::same_as<T, std::uint32_t>) return "uint32";
    else if constexpr (std::is_signed_v<T>) return "int64";
    else return "uint64";
}

[[noreturn]] void throwOutOfRange(const Json& value, std::string_view target);
[[noreturn]] void throwWrongType(const Json& value, std::string_view expected);

}  // namespace detail

template <std::integral T>
    requires(!std::same_as<T, bool>)
struct Decoder<T> {
    static T decode(const Json& value) {
        if (value.is_number_unsigned()) {
            auto number = value.get<std::uint64_t>();
            if (!std::in_range<T>(number)) detail::throwOutOfRange(value, detail::integerName<T>());
            return static_cast<T>(number);
        }
        if (value.is_number_integer()) {
            auto number = value.get<std::int64_t>();
            if (!std::in_range<T>(number)) detail::throwOutOfRange(value, detail::integerName<T>());
            return static_cast<T>(number);
        }
        if (value.is_number_float()) {
            // 2.0 is an integer written as a float and is accepted; 1.5 is not.
            const double number = value.get<double>();
            if (!std::isfinite(number) || std::trunc(number) != number) {
                detail::throwWrongType(value, detail::integerName<T>());
            }
            // Bounds as exact powers of two so the comparison itself cannot round.
            const double lower = std::is_signed_v<T> ? -std::ldexp(1.0, std::numeric_limits<T>::digits) : 0.0;
            const double upperExclusive = std::ldexp(1.0, std::numeric_limits<T>::digits);
            if (number < lower || number >= upperExclusive) {
                detail::throwOutOfRange(value, detail::integerName<T>());
            }
            return static_cast<T>(number);
        }
        detail::throwWrongType(value, detail::integerName<T>());
    }
};

template <>
struct Decoder<bool> {
    static bool decode(const Json& value) {
        if (!value.is_boolean()) detail::throwWrongType(value, "boolean");
        return value.get<bool>();
    }
};

template <>
struct Decoder<double> {
    static double decode(const Json& value) {
        if (!value.is_number()) detail::throwWrongType(value, "number");
        return value.get<double>();
    }
};

template <>
struct Decoder<std::string> {
    static std::string decode(const Json& value) {
        if (!value.is_string()) detail::throwWrongType(value, "string");
        return value.get<std::string>();
    }
};

template <RawValueEnum E>
struct Decoder<E> {
    static E decode(const Json& value) {
        if (!value.is_string()) detail::throwWrongType(value, "string");
        const auto& raw = value.get_ref<const std::string&>();
        auto decoded = fromRawValue<E>(raw);
        if (!decoded) throw DecodeError("unknown value \"" + raw + "\"");
        return *decoded;
    }
};

template <typename T>
struct Decoder<std::vector<T>> {
    static std::vector<T> decode(const Json& value) {
        requireArray(value);
        std::vector<T> result;
        result.reserve(value.size());
        for (std::size_t index = 0; index < value.size(); ++index) {
            try {
                result.push_back(json::decode<T>(value[index]));
            } catch (const DecodeError& error) {
                throw error.within("[" + std::to_string(index) + "]");
            }
        }
        return result;
    }
};

template <SelfDecoding T>
struct Decoder<T> {
    static T decode(const Json& value) { return T::fromJson(value); }
};

template <>
struct Decoder<Json> {
    static Json decode(const Json& value) { return value; }
};

}  // namespace dorvane::json
