#include "DorvaneCore/Support/StrictJson.h"

#include <algorithm>

namespace dorvane::json {

DecodeError::DecodeError(const std::string& reason, std::string path)
    : std::runtime_error(path.empty() ? reason : path + ": " + reason), path_(std::move(path)), reason_(reason) {}

DecodeError DecodeError::at(std::size_t offset, const std::string& reason) {
    DecodeError error(reason);
    error.offset_ = offset;
    return error;
}

DecodeError DecodeError::within(std::string_view segment) const {
    std::string path(segment);
    if (!path_.empty()) {
        if (!path_.starts_with("[")) path += ".";
        path += path_;
    }
    DecodeError outer(reason_, std::move(path));
    outer.offset_ = offset_;
    return outer;
}

namespace {

// Refuses what the library would mishandle: a NUL byte (which it takes for the end of the
// text, accepting whatever follows) and nesting deeper than maxNestingDepth. One pass, no
// recursion; brackets inside strings do not count.
void checkShape(std::string_view text) {
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) {
        throw DecodeError::at(nul, "malformed JSON: a NUL byte at offset " + std::to_string(nul) +
                                       " (nothing may follow the document)");
    }
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxNestingDepth) {
                throw DecodeError::at(at, "malformed JSON: nested deeper than " + std::to_string(maxNestingDepth) +
                                              " levels");
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
}

}  // namespace

Json parse(std::string_view text) {
    checkShape(text);
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // The parser counts from 1, and one past the end for a document cut short.
        const std::size_t offset = std::min<std::size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
        throw DecodeError::at(offset, std::string("malformed JSON: ") + error.what());
    } catch (const Json::exception& error) {
        // out_of_range for numbers a double cannot hold.
        throw DecodeError(std::string("malformed JSON: ") + error.what());
    }
}

std::string serialize(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string serializePretty(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string_view typeName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null: return "null";
        case Json::value_t::object: return "object";
        case Json::value_t::array: return "array";
        case Json::value_t::string: return "string";
        case Json::value_t::boolean: return "boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned: return "integer";
        case Json::value_t::number_float: return "number";
        case Json::value_t::binary: return "binary";
        case Json::value_t::discarded: return "discarded";
    }
    return "unknown";
}

const Json& requireObject(const Json& value) {
    if (!value.is_object()) detail::throwWrongType(value, "object");
    return value;
}

const Json& requireArray(const Json& value) {
    if (!value.is_array()) detail::throwWrongType(value, "array");
    return value;
}

const Json& requireKey(const Json& object, std::string_view key) {
    requireObject(object);
    auto found = object.find(key);
    if (found == object.end()) throw DecodeError("missing key", std::string(key));
    return *found;
}

bool hasValue(const Json& object, std::string_view key) {
    if (!object.is_object()) return false;
    auto found = object.find(key);
    return found != object.end() && !found->is_null();
}

namespace detail {

namespace {

constexpr std::size_t kQuoteLimit = 40;

// The first kQuoteLimit bytes of the value's compact text, cut at a character boundary and
// marked "…" when cut. Written with an explicit stack, never more than the limit deep, so
// quoting a deeply nested value (built in memory, or read before the depth check) costs no
// stack and no more work than the quote itself.
std::string shortText(const Json& value) {
    struct Level {
        const Json* container;
        Json::const_iterator next;
        bool first = true;
    };
    std::string text;
    std::vector<Level> levels;
    const auto enter = [&](const Json& item) {
        if (item.is_object() || item.is_array()) {
            text += item.is_object() ? "{" : "[";
            levels.push_back(Level{&item, item.cbegin()});
        } else if (item.is_string()) {
            // A long string is quoted by its beginning only.
            text += serialize(Json(item.get_ref<const std::string&>().substr(0, kQuoteLimit + 1)));
        } else {
            text += serialize(item);
        }
    };
    enter(value);
    while (!levels.empty() && text.size() <= kQuoteLimit) {
        Level& level = levels.back();
        const bool isObject = level.container->is_object();
        if (level.next == level.container->cend()) {
            text += isObject ? "}" : "]";
            levels.pop_back();
            continue;
        }
        if (!level.first) text += ",";
        level.first = false;
        const auto item = level.next++;
        if (isObject) text += serialize(Json(item.key().substr(0, kQuoteLimit + 1))) + ":";
        enter(*item);  // may grow `levels`: `level` is not used again
    }
    if (text.size() > kQuoteLimit) {
        std::size_t cut = kQuoteLimit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text = text.substr(0, cut) + "…";
    }
    return text;
}

}  // namespace

void throwOutOfRange(const Json& value, std::string_view target) {
    throw DecodeError("value " + shortText(value) + " is out of range for " + std::string(target));
}

void throwWrongType(const Json& value, std::string_view expected) {
    throw DecodeError("expected " + std::string(expected) + ", found " + std::string(typeName(value)) + " " +
                      shortText(value));
}

}  // namespace detail

}  // namespace dorvane::json
