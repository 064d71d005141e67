#include "Dorvane/Windows/WindowActionLog.h"

#include <future>
#include <string>

#include "DorvaneCore/Support/LogFile.h"
#include "DorvaneCore/Support/SingleLine.h"
#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane::windows {

namespace fs = std::filesystem;

void WindowActionLog::append(std::string_view message, const fs::path& logURL, const dispatch::Clock& clock) {
    std::string line = iso8601UTC(clock.wallTime()) + " " + singleLine(message) + "\n";
    queue().post([line = std::move(line), logURL] {
        // Rotated when it holds rotationThreshold bytes or more.
        appendLogLine(logURL, logURL.parent_path() / previousFileName, rotationThreshold - 1, line);
    });
}

dispatch::SerialQueue& WindowActionLog::queue() {
    static dispatch::SerialQueue shared("window-actions");
    return shared;
}

void WindowActionLog::drain() {
    dispatch::SerialQueue& shared = queue();
    if (shared.isCurrent()) return;
    std::promise<void> written;
    std::future<void> done = written.get_future();
    shared.post([&written] { written.set_value(); });
    done.wait();
}

}  // namespace dorvane::windows
