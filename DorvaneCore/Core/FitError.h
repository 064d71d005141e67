#pragma once

#include <stdexcept>
#include <string>

namespace dorvane {

// The one error type that reaches a user. Its text is user-visible Simplified
// Chinese and is exactly what what() returns; callers never inspect it further.
class FitError : public std::runtime_error {
public:
    explicit FitError(const std::string& message) : std::runtime_error(message) {}

    static FitError message(const std::string& text) { return FitError(text); }

    std::string text() const { return what(); }
};

}  // namespace dorvane
