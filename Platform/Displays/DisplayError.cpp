#include "Platform/Displays/DisplayError.h"

namespace dorvane::displays {

std::optional<DisplayError> displayErrorFromCode(std::int32_t code) {
    for (const auto error : allCases<DisplayError>()) {
        if (errorCode(error) == code) return error;
    }
    return std::nullopt;
}

}  // namespace dorvane::displays
