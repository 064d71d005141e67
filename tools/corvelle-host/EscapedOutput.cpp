#include "tools/corvelle-host/EscapedOutput.h"

#include <cstdio>

namespace dorvane::hosttool {

void EscapedOutput::escape(unsigned code) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", code);
    target_ << text;
}

EscapedOutput::int_type EscapedOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if (leadC2_) {
        leadC2_ = false;
        if (byte >= 0x80 && byte <= 0x9F) {
            escape(byte);
            return c;
        }
        target_.put(static_cast<char>(0xC2));
    }
    if (byte == 0xC2) {
        leadC2_ = true;
    } else if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) {
        escape(byte);
    } else {
        target_.put(static_cast<char>(byte));
    }
    return c;
}

int EscapedOutput::sync() {
    if (leadC2_) {
        leadC2_ = false;
        target_.put(static_cast<char>(0xC2));
    }
    target_.flush();
    return target_ ? 0 : -1;
}

}  // namespace dorvane::hosttool
