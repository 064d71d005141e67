#pragma once

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace dorvane::text {

// The functions of ICU's C interface that the text helpers use, from the ICU libraries
// loaded when text is first handled: a process that never handles text (the display
// worker, started a dozen times for every fit) never loads or links them.
struct IcuFunctions {
    decltype(&::u_hasBinaryProperty) hasBinaryProperty;
    decltype(&::u_charType) charType;
    decltype(&::u_strFromUTF8WithSub) fromUTF8;
    decltype(&::u_strToUTF8WithSub) toUTF8;
    decltype(&::u_strFoldCase) foldCase;
    decltype(&::u_strToUpper) toUpper;
    decltype(&::u_strToLower) toLower;
    decltype(&::unorm2_getNFDInstance) nfd;
    decltype(&::unorm2_getNFCInstance) nfc;
    decltype(&::unorm2_normalize) normalize;
    decltype(&::ubrk_open) openBreaks;
    decltype(&::ubrk_setText) setBreakText;
    decltype(&::ubrk_first) firstBreak;
    decltype(&::ubrk_next) nextBreak;
    decltype(&::ubrk_close) closeBreaks;
    decltype(&::ucol_open) openCollator;
    decltype(&::ucol_setStrength) setStrength;
    decltype(&::ucol_setAttribute) setAttribute;
    decltype(&::ucol_strcollUTF8) collateUTF8;
    decltype(&::ucol_close) closeCollator;
};

// Loads ICU on the first call (any thread). Throws std::runtime_error when it cannot.
const IcuFunctions& icu();

}  // namespace dorvane::text
