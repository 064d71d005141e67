#pragma once

// One field table per stored type, read and written from the same lines.
//
// A table is a generic lambda that names each key once, in the order the type is written:
//
//     constexpr auto entryFields = [](auto& f, auto& entry) {
//         f.required("mode", entry.mode);
//         f.optional("mirrorKey", entry.mirrorKey);
//     };
//     json::Json Entry::toJson() const { return json::writeFields(*this, entryFields); }
//     Entry Entry::fromJson(const json::Json& value) { return json::readFields<Entry>(value, entryFields); }
//
// writeFields runs it with a FieldWriter, which builds the object in that order; readFields runs it
// with a FieldReader, which reads every key strictly in that order, so the first bad key is the one
// a DecodeError names. The rule a line uses says both whether the key must be there and when it is
// written:
//
//   required        must be present and not null; always written
//   requiredOrNull  must be present, null means none; written as null when there is none
//   nullable        missing or null means none; written as null when there is none
//   optional        missing or null means none; left out when there is none
//   defaulted       missing or null means `fallback`; always written
//
// A line may name a Codec for a member that is written in a form of its own or checked as it is
// read; a DecodeError thrown by its decode function is placed under the key.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::json {

// How one value is written and strictly read. The default is the type's own encoder and decoder.
template <typename T>
struct Codec {
    Json (*encode)(const T&) = &json::encode<T>;
    T (*decode)(const Json&) = &json::decode<T>;
};

class FieldWriter {
public:
    template <typename M>
    void required(std::string_view key, const M& member, Codec<M> codec = {}) {
        put(key, codec.encode(member));
    }

    template <typename M>
    void requiredOrNull(std::string_view key, const std::optional<M>& member, Codec<M> codec = {}) {
        put(key, member ? codec.encode(*member) : Json(nullptr));
    }

    template <typename M>
    void nullable(std::string_view key, const std::optional<M>& member, Codec<M> codec = {}) {
        put(key, member ? codec.encode(*member) : Json(nullptr));
    }

    template <typename M>
    void optional(std::string_view key, const std::optional<M>& member, Codec<M> codec = {}) {
        if (member) put(key, codec.encode(*member));
    }

    template <typename M>
    void defaulted(std::string_view key, const M& member, const std::type_identity_t<M>& /*fallback*/,
                   Codec<M> codec = {}) {
        put(key, codec.encode(member));
    }

    // The "format" key of a file that names its layout's version.
    void format(std::int32_t version);

    Json take() { return std::move(object_); }

private:
    void put(std::string_view key, Json value);

    Json object_ = Json::object();
};

class FieldReader {
public:
    // Fails unless `object` is an object.
    explicit FieldReader(const Json& object);

    template <typename M>
    void required(std::string_view key, M& member, Codec<M> codec = {}) {
        member = decodeUnder(key, requireKey(object_, key), codec);
    }

    template <typename M>
    void requiredOrNull(std::string_view key, std::optional<M>& member, Codec<M> codec = {}) {
        const Json& value = requireKey(object_, key);
        member = value.is_null() ? std::nullopt : std::optional<M>(decodeUnder(key, value, codec));
    }

    template <typename M>
    void nullable(std::string_view key, std::optional<M>& member, Codec<M> codec = {}) {
        readOptional(key, member, codec);
    }

    template <typename M>
    void optional(std::string_view key, std::optional<M>& member, Codec<M> codec = {}) {
        readOptional(key, member, codec);
    }

    template <typename M>
    void defaulted(std::string_view key, M& member, const std::type_identity_t<M>& fallback, Codec<M> codec = {}) {
        const Json* value = find(key);
        member = value ? decodeUnder(key, *value, codec) : fallback;
    }

    // Fails with "unsupported format N" unless "format" is `version`.
    void format(std::int32_t version);

private:
    // The value under `key`, or nullptr when it is missing or null.
    const Json* find(std::string_view key) const;

    template <typename M>
    void readOptional(std::string_view key, std::optional<M>& member, const Codec<M>& codec) {
        const Json* value = find(key);
        member = value ? std::optional<M>(decodeUnder(key, *value, codec)) : std::nullopt;
    }

    template <typename M>
    static M decodeUnder(std::string_view key, const Json& value, const Codec<M>& codec) {
        try {
            return codec.decode(value);
        } catch (const DecodeError& error) {
            throw error.within(key);
        }
    }

    const Json& object_;
};

template <typename T, typename Fields>
Json writeFields(const T& value, const Fields& fields) {
    FieldWriter writer;
    fields(writer, value);
    return writer.take();
}

template <typename T, typename Fields>
T readFields(const Json& value, const Fields& fields) {
    FieldReader reader(value);
    T result{};
    fields(reader, result);
    return result;
}

}  // namespace dorvane::json
