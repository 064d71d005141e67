#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/SerialQueue.h"

namespace dorvane::windows {

// The trail of every window move the frame workers make: "<ISO 8601 UTC> <message>" a
// line, appended on one shared background queue so that no worker waits for the disk,
// and moved to "WindowActions.previous.log" once it holds 256001 bytes or more. Every
// file error is swallowed: a line that cannot be written is lost.
class WindowActionLog {
public:
    // Kept in the support folder; the owners of the window controllers build the path.
    static constexpr const char* fileName = "WindowActions.log";
    static constexpr const char* previousFileName = "WindowActions.previous.log";
    static constexpr std::uintmax_t rotationThreshold = 256001;

    // Takes the timestamp now, on the caller's thread, and schedules the write. Line
    // breaks inside the message are written as "\n" so that every entry is one line.
    // Never blocks, never fails.
    static void append(std::string_view message, const std::filesystem::path& logURL, const dispatch::Clock& clock);

    // The one queue, "local.Dorvane.window-actions", created on first use; lines reach the
    // file in the order they were appended.
    static dispatch::SerialQueue& queue();

    // Returns once every line appended before the call has been written. For tests and
    // shutdown; not from the queue itself.
    static void drain();
};

}  // namespace dorvane::windows
