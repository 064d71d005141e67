#include "Platform/Accessibility/AXError.h"

namespace dorvane::accessibility {

std::optional<AXError> axErrorFromCode(std::int32_t code) {
    for (const auto error : allCases<AXError>()) {
        if (axErrorCode(error) == code) return error;
    }
    return std::nullopt;
}

}  // namespace dorvane::accessibility
