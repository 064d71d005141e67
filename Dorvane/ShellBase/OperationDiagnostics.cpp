#include "Dorvane/ShellBase/OperationDiagnostics.h"

#include <chrono>
#include <future>
#include <system_error>

#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/ShellBase/SupportFolder.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/LogFile.h"
#include "DorvaneCore/Support/SingleLine.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"

namespace dorvane {

OperationDiagnostics::OperationDiagnostics(std::filesystem::path file, dispatch::Clock& clock,
                                           dispatch::Executor& queue)
    : file_(std::move(file)), clock_(clock), queue_(queue) {}

std::string OperationDiagnostics::line(double secondsSince1970, std::string_view message) {
    return decimalText(secondsSince1970) + " " + singleLine(message) + "\n";
}

void OperationDiagnostics::append(std::string_view message) {
    // Whole seconds and the fraction apart, so the sum is the nearest double.
    const auto sinceEpoch = clock_.wallTime().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    const double since1970 = static_cast<double>(seconds.count()) +
                             std::chrono::duration<double>(sinceEpoch - seconds).count();
    queue_.post([file = file_, text = line(since1970, message), said = skippedSaid_] {
        noteSkippedLog(appendLine(file, text), file, *said);
    });
}

void OperationDiagnostics::flush() {
    std::promise<void> written;
    auto done = written.get_future();
    queue_.post([&written] { written.set_value(); });
    done.wait();
}

LogWrite OperationDiagnostics::appendLine(const std::filesystem::path& file, std::string_view text) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);  // a regular file's only
    if (!error && size > sizeLimit) {
        try {
            writeFileAtomically(file, "");
        } catch (const std::exception&) {
            // Still too large; the line is appended all the same.
        }
    }
    // A missing file is made (its folder is not); a named pipe in its place is never waited on.
    return appendToLogFile(file, text);
}

OperationDiagnostics& OperationDiagnostics::shared() {
    // The program's one log, as every subsystem shares it; it lives until the process ends.
    static dispatch::SystemClock clock;
    static dispatch::SerialQueue queue(queueRole);
    static OperationDiagnostics log(supportFolder() / fileName, clock, queue);
    return log;
}

void OperationDiagnostics::write(std::string_view message) { shared().append(message); }

}  // namespace dorvane
