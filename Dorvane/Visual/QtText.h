#pragma once

#include <string_view>

#include <QString>

namespace dorvane {

// The core's UTF-8 text as Qt's.
inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace dorvane
