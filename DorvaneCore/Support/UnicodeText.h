#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unicode-aware text helpers on ICU, for UTF-8 strings. Malformed UTF-8 is
// read as U+FFFD rather than rejected.
namespace dorvane::text {

// Removes leading and trailing Unicode white space and line breaks (the
// White_Space property: ASCII blanks, U+0085, U+00A0, U+2000–U+200A, U+3000, …).
std::string trimmed(std::string_view text);

// True when nothing but white space and line breaks remains.
bool isBlank(std::string_view text);

// User-perceived characters (extended grapheme clusters): "👍🏽" is one, "é" as e + U+0301 is one.
std::size_t graphemeCount(std::string_view text);

// The first `count` user-perceived characters of `text`.
std::string prefixGraphemes(std::string_view text, std::size_t count);

// Valid UTF-8: every malformed sequence replaced by U+FFFD.
std::string sanitizedUTF8(std::string_view bytes);

// Full Unicode case folding ("Straße" → "strasse").
std::string caseFolded(std::string_view text);

// Upper- and lower-cased with the root locale ("ß" → "SS"; "İ" → "i̇").
std::string upperCased(std::string_view text);
std::string lowerCased(std::string_view text);

// Key for case- and diacritic-insensitive comparison: decomposed, combining
// marks removed, case-folded, recomposed ("Élan" → "elan").
std::string searchKey(std::string_view text);

// Whether `needle` occurs in `haystack`, ignoring case and diacritics. An empty needle matches.
bool containsInsensitive(std::string_view haystack, std::string_view needle);

// Whether the two are equal ignoring case and diacritics.
bool equalsInsensitive(std::string_view left, std::string_view right);

}  // namespace dorvane::text
