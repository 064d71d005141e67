#include "DorvaneCore/Support/UnicodeText.h"

#include <memory>
#include <stdexcept>
#include <string>

#include <unicode/utf16.h>

#include "DorvaneCore/Support/IcuLibrary.h"

namespace dorvane::text {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

void check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) throw std::runtime_error(std::string(what) + ": " + std::to_string(status));
}

// Runs an ICU function that writes UTF-16 into a buffer: once to learn the length, once to
// write (most texts fit the first buffer and need one call).
template <typename Write>
std::u16string written(Write&& write, const char* what) {
    std::u16string result(64, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t length = write(result.data(), static_cast<std::int32_t>(result.size()), status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        result.assign(static_cast<std::size_t>(length), u'\0');
        status = U_ZERO_ERROR;
        length = write(result.data(), length, status);
    }
    check(status, what);
    result.resize(static_cast<std::size_t>(length));
    return result;
}

// Malformed sequences read as U+FFFD.
std::u16string fromUTF8(std::string_view text) {
    const auto& icu = text::icu();
    return written(
        [&](char16_t* out, std::int32_t capacity, UErrorCode& status) {
            std::int32_t length = 0;
            icu.fromUTF8(out, capacity, &length, text.data(), static_cast<std::int32_t>(text.size()), kReplacement,
                         nullptr, &status);
            return length;
        },
        "UTF-8 to UTF-16");
}

std::string toUTF8(std::u16string_view text) {
    const auto& icu = text::icu();
    std::string result(text.size() * 3, '\0');
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t length = 0;
    icu.toUTF8(result.data(), static_cast<std::int32_t>(result.size()), &length, text.data(),
               static_cast<std::int32_t>(text.size()), kReplacement, nullptr, &status);
    check(status, "UTF-16 to UTF-8");
    result.resize(static_cast<std::size_t>(length));
    return result;
}

bool isWhiteSpace(UChar32 c) { return icu().hasBinaryProperty(c, UCHAR_WHITE_SPACE); }

std::u16string folded(std::u16string_view text) {
    return written(
        [&](char16_t* out, std::int32_t capacity, UErrorCode& status) {
            return icu().foldCase(out, capacity, text.data(), static_cast<std::int32_t>(text.size()),
                                  U_FOLD_CASE_DEFAULT, &status);
        },
        "case folding");
}

std::u16string normalized(std::u16string_view text, bool decompose) {
    const auto& icu = text::icu();
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = decompose ? icu.nfd(&status) : icu.nfc(&status);
    check(status, "ICU normalizer");
    return written(
        [&](char16_t* out, std::int32_t capacity, UErrorCode& writing) {
            return icu.normalize(normalizer, text.data(), static_cast<std::int32_t>(text.size()), out, capacity,
                                 &writing);
        },
        "normalization");
}

// One character break iterator per thread: opening one loads rules.
class CharacterBreaks {
public:
    CharacterBreaks() {
        UErrorCode status = U_ZERO_ERROR;
        iterator_ = icu().openBreaks(UBRK_CHARACTER, "", nullptr, 0, &status);
        check(status, "ICU character break iterator");
    }
    CharacterBreaks(const CharacterBreaks&) = delete;
    CharacterBreaks& operator=(const CharacterBreaks&) = delete;
    ~CharacterBreaks() { icu().closeBreaks(iterator_); }

    // The UTF-16 offsets of the character boundaries after the start, in order.
    template <typename Visit>
    void boundaries(std::u16string_view text, Visit&& visit) {
        UErrorCode status = U_ZERO_ERROR;
        icu().setBreakText(iterator_, text.data(), static_cast<std::int32_t>(text.size()), &status);
        check(status, "ICU character break iterator");
        icu().firstBreak(iterator_);
        for (std::int32_t next = icu().nextBreak(iterator_); next != UBRK_DONE; next = icu().nextBreak(iterator_)) {
            if (!visit(next)) break;
        }
    }

private:
    UBreakIterator* iterator_ = nullptr;
};

CharacterBreaks& characterBreaks() {
    thread_local CharacterBreaks breaks;
    return breaks;
}

std::string cased(std::string_view text, bool upper) {
    const auto unicode = fromUTF8(text);
    const auto& icu = text::icu();
    return toUTF8(written(
        [&](char16_t* out, std::int32_t capacity, UErrorCode& status) {
            const auto length = static_cast<std::int32_t>(unicode.size());
            return upper ? icu.toUpper(out, capacity, unicode.data(), length, "", &status)
                         : icu.toLower(out, capacity, unicode.data(), length, "", &status);
        },
        "case mapping"));
}

}  // namespace

std::string trimmed(std::string_view text) {
    const std::u16string unicode = fromUTF8(text);
    const auto length = static_cast<std::int32_t>(unicode.size());
    std::int32_t start = 0;
    while (start < length) {
        std::int32_t next = start;
        UChar32 c = 0;
        U16_NEXT(unicode.data(), next, length, c);
        if (!isWhiteSpace(c)) break;
        start = next;
    }
    std::int32_t end = length;
    while (end > start) {
        std::int32_t previous = end;
        UChar32 c = 0;
        U16_PREV(unicode.data(), start, previous, c);
        if (!isWhiteSpace(c)) break;
        end = previous;
    }
    return toUTF8(std::u16string_view(unicode).substr(static_cast<std::size_t>(start),
                                                       static_cast<std::size_t>(end - start)));
}

bool isBlank(std::string_view text) { return trimmed(text).empty(); }

std::size_t graphemeCount(std::string_view text) {
    if (text.empty()) return 0;
    const std::u16string unicode = fromUTF8(text);
    std::size_t count = 0;
    characterBreaks().boundaries(unicode, [&count](std::int32_t) {
        ++count;
        return true;
    });
    return count;
}

std::string prefixGraphemes(std::string_view text, std::size_t count) {
    const std::u16string unicode = fromUTF8(text);
    std::int32_t end = 0;
    std::size_t taken = 0;
    if (count > 0) {
        characterBreaks().boundaries(unicode, [&](std::int32_t boundary) {
            end = boundary;
            return ++taken < count;
        });
    }
    return toUTF8(std::u16string_view(unicode).substr(0, static_cast<std::size_t>(end)));
}

std::string sanitizedUTF8(std::string_view bytes) { return toUTF8(fromUTF8(bytes)); }

std::string caseFolded(std::string_view text) { return toUTF8(folded(fromUTF8(text))); }

std::string upperCased(std::string_view text) { return cased(text, true); }

std::string lowerCased(std::string_view text) { return cased(text, false); }

std::string searchKey(std::string_view text) {
    const std::u16string decomposed = normalized(fromUTF8(text), true);
    std::u16string stripped;
    const auto length = static_cast<std::int32_t>(decomposed.size());
    for (std::int32_t i = 0; i < length;) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U16_NEXT(decomposed.data(), i, length, c);
        if (icu().charType(c) != U_NON_SPACING_MARK) stripped.append(decomposed, static_cast<std::size_t>(start),
                                                                      static_cast<std::size_t>(i - start));
    }
    return toUTF8(normalized(folded(stripped), false));
}

bool containsInsensitive(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    return searchKey(haystack).find(searchKey(needle)) != std::string::npos;
}

bool equalsInsensitive(std::string_view left, std::string_view right) { return searchKey(left) == searchKey(right); }

}  // namespace dorvane::text
