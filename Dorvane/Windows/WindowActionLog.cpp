#include "Dorvane/Windows/WindowActionLog.h"

#include <atomic>
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
        // Said once for the process, as the queue is the process's one.
        static std::atomic<bool> skippedSaid{false};
        // Rotated when it holds rotationThreshold bytes or more.
        noteSkippedLog(appendLogLine(logURL, logURL.parent_path() / previousFileName, rotationThreshold - 1, line),
                       logURL, skippedSaid);
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
