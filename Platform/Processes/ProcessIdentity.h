#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::processes {

// A process as it can be recognised later: its id plus the moment it started
// (clock ticks after boot, from /proc/<pid>/stat), so a reused pid is not mistaken
// for the process that held it before.
struct ProcessIdentity {
    std::int32_t pid = 0;
    std::uint64_t startTime = 0;

    friend bool operator==(const ProcessIdentity&, const ProcessIdentity&) = default;

    json::Json toJson() const;
    static ProcessIdentity fromJson(const json::Json& value);
};

// What /proc says about one process.
struct ProcessStatus {
    char state = '?';              // 'R', 'S', 'Z' (zombie), 'X' (dead), ...
    std::uint64_t startTime = 0;
};

// Parses the text of /proc/<pid>/stat; nullopt when it is not in that form. The command
// name in parentheses may itself hold blanks and parentheses.
std::optional<ProcessStatus> parseProcessStat(std::string_view text);

// The status of `pid`, or nullopt when there is no such process.
std::optional<ProcessStatus> readProcessStatus(std::int32_t pid);

// The calling process. Throws std::runtime_error when /proc cannot be read.
ProcessIdentity currentProcessIdentity();

// False when the process has exited, is a zombie, or its pid now belongs to another process.
bool isProcessAlive(const ProcessIdentity& identity);

}  // namespace dorvane::processes
