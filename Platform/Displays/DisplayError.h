#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::displays {

// Result codes of the display services, numbered as the platform numbers them, so the
// integer a caller prints ("配置排列失败（1001）") is the platform's.
enum class DisplayError : std::int32_t {
    success = 0,
    failure = 1000,
    illegalArgument = 1001,
    invalidConnection = 1002,
    invalidContext = 1003,
    cannotComplete = 1004,
    notImplemented = 1006,
    rangeCheck = 1007,
    typeCheck = 1008,
    invalidOperation = 1010,
    noneAvailable = 1011,
};

constexpr std::int32_t errorCode(DisplayError error) { return static_cast<std::int32_t>(error); }

// The case with that number; nullopt for a number the platform does not use.
std::optional<DisplayError> displayErrorFromCode(std::int32_t code);

}  // namespace dorvane::displays

namespace dorvane {

template <>
struct EnumCases<displays::DisplayError> {
    using E = displays::DisplayError;
    static constexpr std::array<std::pair<E, std::string_view>, 11> table{{
        {E::success, "success"},
        {E::failure, "failure"},
        {E::illegalArgument, "illegalArgument"},
        {E::invalidConnection, "invalidConnection"},
        {E::invalidContext, "invalidContext"},
        {E::cannotComplete, "cannotComplete"},
        {E::notImplemented, "notImplemented"},
        {E::rangeCheck, "rangeCheck"},
        {E::typeCheck, "typeCheck"},
        {E::invalidOperation, "invalidOperation"},
        {E::noneAvailable, "noneAvailable"},
    }};
};

}  // namespace dorvane
