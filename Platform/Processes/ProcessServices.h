#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace dorvane::processes {

// What the system tells about running processes. A system that cannot be asked now
// (another program holds it) throws rather than answer that a process is gone.
class ProcessServices {
public:
    virtual ~ProcessServices() = default;

    // Every process id, or nothing when the list cannot be read completely.
    virtual std::optional<std::vector<pid_t>> allProcessIDs() = 0;

    // The short name of a process, or nothing when it is gone or unreadable.
    virtual std::optional<std::string> name(pid_t pid) = 0;

    // The absolute path of the process's executable, or nothing when it cannot be
    // resolved (gone, or another user's process).
    virtual std::optional<std::string> executablePath(pid_t pid) = 0;
};

}  // namespace dorvane::processes
