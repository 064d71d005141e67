#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace dorvane {

// What became of a line for a log.
enum class LogWrite {
    written,
    lost,           // the file could not be opened or written
    notRegularFile  // something else (a named pipe, a folder) is in the log's place
};

// Appends `text` to `file`, creating a missing file but not its folder. The file is opened
// without waiting and written only when it is a regular file: a named pipe in its place
// is never waited on, at exit or ever.
LogWrite appendToLogFile(const std::filesystem::path& file, std::string_view text);

// Appends `line` to a log that keeps one previous generation: creates the folder, and
// first moves a file that holds more than `rotationLimit` bytes to `previous`, replacing
// it. Opens, writes and closes the file for this one line. Safe for several writers of
// one log, in threads and processes: one of them moves a full log, once. Never throws: a
// line that cannot be written is lost, and the answer says why.
LogWrite appendLogLine(const std::filesystem::path& file, const std::filesystem::path& previous,
                       std::uintmax_t rotationLimit, std::string_view line);

// The rotation step of appendLogLine, for a writer that found the log at `file` larger
// than `rotationLimit` a moment ago: moves it to `previous` only if, under the log's lock,
// it is still that large. Another writer may have moved it and begun the next one meanwhile.
void rotateLogIfFull(const std::filesystem::path& file, const std::filesystem::path& previous,
                     std::uintmax_t rotationLimit);

// Says once on standard error, when `write` first reports it, that the log at `file` is
// not a regular file and its lines are skipped. `said` remembers it; it may be shared
// by threads.
void noteSkippedLog(LogWrite write, const std::filesystem::path& file, std::atomic<bool>& said);

}  // namespace dorvane
