#include "DorvaneCore/Support/UnicodeText.h"

#include <memory>
#include <stdexcept>

#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace dorvane::text {

namespace {

icu::UnicodeString fromUTF8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUTF8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

bool isWhiteSpace(UChar32 c) { return u_hasBinaryProperty(c, UCHAR_WHITE_SPACE); }

const icu::Normalizer2& normalizer(bool decompose) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* instance =
        decompose ? icu::Normalizer2::getNFDInstance(status) : icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status) || instance == nullptr) throw std::runtime_error("ICU normalizer unavailable");
    return *instance;
}

}  // namespace

std::string trimmed(std::string_view text) {
    const icu::UnicodeString unicode = fromUTF8(text);
    int32_t start = 0;
    int32_t end = unicode.length();
    while (start < end) {
        const UChar32 c = unicode.char32At(start);
        if (!isWhiteSpace(c)) break;
        start += U16_LENGTH(c);
    }
    while (end > start) {
        const int32_t last = unicode.moveIndex32(end, -1);
        if (!isWhiteSpace(unicode.char32At(last))) break;
        end = last;
    }
    return toUTF8(icu::UnicodeString(unicode, start, end - start));
}

bool isBlank(std::string_view text) { return trimmed(text).empty(); }

namespace {

icu::BreakIterator& characterBreaks() {
    // Creating a break iterator loads rules; keep one per thread.
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> created(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) throw std::runtime_error("ICU character break iterator unavailable");
        return created;
    }();
    return *iterator;
}

}  // namespace

std::size_t graphemeCount(std::string_view text) {
    if (text.empty()) return 0;
    const icu::UnicodeString unicode = fromUTF8(text);
    auto& iterator = characterBreaks();
    iterator.setText(unicode);
    std::size_t count = 0;
    iterator.first();
    while (iterator.next() != icu::BreakIterator::DONE) ++count;
    return count;
}

std::string prefixGraphemes(std::string_view text, std::size_t count) {
    const icu::UnicodeString unicode = fromUTF8(text);
    auto& iterator = characterBreaks();
    iterator.setText(unicode);
    int32_t end = iterator.first();
    for (std::size_t taken = 0; taken < count; ++taken) {
        const int32_t next = iterator.next();
        if (next == icu::BreakIterator::DONE) break;
        end = next;
    }
    return toUTF8(icu::UnicodeString(unicode, 0, end));
}

std::string sanitizedUTF8(std::string_view bytes) { return toUTF8(fromUTF8(bytes)); }

std::string caseFolded(std::string_view text) {
    icu::UnicodeString unicode = fromUTF8(text);
    unicode.foldCase();
    return toUTF8(unicode);
}

std::string searchKey(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString decomposed = normalizer(true).normalize(fromUTF8(text), status);
    if (U_FAILURE(status)) return caseFolded(text);
    icu::UnicodeString stripped;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) stripped.append(c);
        i += U16_LENGTH(c);
    }
    stripped.foldCase();
    const icu::UnicodeString composed = normalizer(false).normalize(stripped, status);
    if (U_FAILURE(status)) return toUTF8(stripped);
    return toUTF8(composed);
}

bool containsInsensitive(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    return searchKey(haystack).find(searchKey(needle)) != std::string::npos;
}

bool equalsInsensitive(std::string_view left, std::string_view right) { return searchKey(left) == searchKey(right); }

}  // namespace dorvane::text
