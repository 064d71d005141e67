#include "DorvaneCore/Support/SingleLine.h"

namespace dorvane {

std::string singleLine(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result += "\\n";
        } else if (c == '\n') {
            result += "\\n";
        } else if (text.substr(i, 2) == "\xC2\x85") {  // NEL
            result += "\\n";
            i += 1;
        } else if (text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9") {  // LS, PS
            result += "\\n";
            i += 2;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace dorvane
