#include "Dorvane/Shell/LastResort.h"

#include <memory>
#include <mutex>

#include "Dorvane/Engine/EngineLog.h"
#include "Platform/Dispatch/SystemClock.h"

namespace dorvane {

dispatch::UnhandledFailureHandler lastResortHandler(std::filesystem::path root, dispatch::Clock& clock,
                                                    std::ostream& errors) {
    struct Shared {
        EngineLog log;
        std::ostream& errors;
        std::mutex mutex;  // lines from several queues stay whole
    };
    const std::shared_ptr<Shared> shared(new Shared{EngineLog(std::move(root), clock), errors, {}});
    return [shared](const std::string& where, std::exception_ptr failure) {
        const std::string detail = where + ": " + dispatch::failureText(failure);
        std::lock_guard lock(shared->mutex);
        shared->log.write("unhandled_error", detail);
        shared->errors << "Corvelle: " << detail << std::endl;
    };
}

int runToTheEnd(const std::filesystem::path& root, std::ostream& errors, const std::function<int()>& run) noexcept {
    try {
        return run();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            dispatch::SystemClock clock;
            lastResortHandler(root, clock, errors)("application", failure);
        } catch (...) {
            // Nowhere left to say it; the status still does.
        }
        return 1;
    }
}

}  // namespace dorvane
