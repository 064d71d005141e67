#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::accessibility {

// What an Accessibility call answers, numbered as the platform numbers them.
enum class AXError : std::int32_t {
    success = 0,
    failure = -25200,               // a system error
    illegalArgument = -25201,       // a value of the wrong type, a bad name
    invalidElement = -25202,        // the window was closed or the application quit
    cannotComplete = -25204,        // no answer within the messaging timeout
    attributeUnsupported = -25205,  // the element has no such attribute, or it cannot be set
    actionUnsupported = -25206,     // the element has no such action
    notTrusted = -25211,            // the process is not trusted for Accessibility
    noValue = -25212,               // the attribute exists but has no value now
};

constexpr std::int32_t axErrorCode(AXError error) { return static_cast<std::int32_t>(error); }

std::optional<AXError> axErrorFromCode(std::int32_t code);

}  // namespace dorvane::accessibility

namespace dorvane {

template <>
struct EnumCases<accessibility::AXError> {
    using E = accessibility::AXError;
    static constexpr std::array<std::pair<E, std::string_view>, 9> table{{
        {E::success, "success"},
        {E::failure, "failure"},
        {E::illegalArgument, "illegalArgument"},
        {E::invalidElement, "invalidElement"},
        {E::cannotComplete, "cannotComplete"},
        {E::attributeUnsupported, "attributeUnsupported"},
        {E::actionUnsupported, "actionUnsupported"},
        {E::notTrusted, "notTrusted"},
        {E::noValue, "noValue"},
    }};
};

}  // namespace dorvane
