#pragma once

#include <string>
#include <string_view>

namespace dorvane {

// Text with every line break (LF, CR, CRLF, NEL, LS, PS) replaced by the two characters
// "\n", so that a message stays on one line of a log.
std::string singleLine(std::string_view text);

}  // namespace dorvane
