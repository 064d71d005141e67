#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::json {

// Where in a document's text the value at `path` ("presets[0].key", "[2].mode.width")
// begins: the byte offset of the deepest part of the path the document has (for a missing
// key, the object that lacks it). Best effort over text that parsed: a key written with
// escapes is not recognised, and the walk stops where it is.
std::size_t offsetOf(std::string_view document, std::string_view path);

// The line, counted from 1, that a DecodeError of `document` points at: where its syntax
// fails, or where the value named by its path begins. None when the error names no place.
std::optional<std::size_t> errorLine(std::string_view document, const DecodeError& error);

}  // namespace dorvane::json
