#include "Platform/Dispatch/Executor.h"

#include <cstdio>

namespace dorvane::dispatch {

std::string failureText(const std::exception_ptr& failure, const std::string& fallback) {
    if (!failure) return fallback;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return fallback;
    }
}

void reportUnhandledFailure(const std::string& label, const UnhandledFailureHandler& onUnhandled,
                            std::exception_ptr failure) noexcept {
    try {
        if (onUnhandled) {
            onUnhandled(label, failure);
        } else {
            std::fprintf(stderr, "Corvelle: %s: %s\n", label.c_str(), failureText(failure).c_str());
        }
    } catch (...) {
        // A handler that throws has nowhere left to report to.
    }
}

}  // namespace dorvane::dispatch
