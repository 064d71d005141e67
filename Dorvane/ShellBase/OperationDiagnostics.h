#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <filesystem>
#include <string>
#include <string_view>

#include "DorvaneCore/Support/LogFile.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane {

// "Operations.log": the trail of user-level operations on other applications. One line
// per call, "<seconds since 1970> <message>", appended on a serial queue so callers
// never wait for the disk; emptied once it has grown past 1,000,000 bytes. Never read
// back by the program, and never fails towards its callers.
class OperationDiagnostics {
public:
    static constexpr const char* fileName = "Operations.log";
    static constexpr const char* queueRole = "operation-diagnostics";
    static constexpr std::uintmax_t sizeLimit = 1'000'000;

    // Appends to `file` on `queue`, stamping lines with `clock`'s wall time. Both must
    // outlive the lines appended.
    OperationDiagnostics(std::filesystem::path file, dispatch::Clock& clock, dispatch::Executor& queue);

    // Takes the time stamp now and queues the line; returns at once. Line breaks in the
    // message are written as "\n", so every call stays one line.
    void append(std::string_view message);
    // Waits until every line appended before is on disk. Only for a queue that runs on a
    // thread of its own.
    void flush();

    const std::filesystem::path& file() const { return file_; }

    // Appends through the program's log: "$HOME/Library/Application Support/Dorvane/
    // Operations.log" on the queue "local.Dorvane.operation-diagnostics", both made on
    // first use. Callable from any thread.
    static void write(std::string_view message);
    // The program's log that write() appends to.
    static OperationDiagnostics& shared();

    // "<seconds since 1970> <message>\n", the message on one line.
    static std::string line(double secondsSince1970, std::string_view message);
    // Writes `text` at the end of `file` (emptied first when over the limit). Does not
    // create the folder; every failure drops the text, and the answer says why. Something
    // other than a regular file in the log's place is skipped, never waited on.
    static LogWrite appendLine(const std::filesystem::path& file, std::string_view text);

private:
    std::filesystem::path file_;
    dispatch::Clock& clock_;
    dispatch::Executor& queue_;
    // Whether the log was said once to be skipped; shared with the queued lines.
    std::shared_ptr<std::atomic<bool>> skippedSaid_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace dorvane
