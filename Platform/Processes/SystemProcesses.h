#pragma once

#include <filesystem>

#include "Platform/Processes/ProcessServices.h"

namespace dorvane::processes {

// The machine's real processes, read from /proc. Another user's executable path is
// not readable: that is the "cannot be resolved" case.
class SystemProcesses final : public ProcessServices {
public:
    explicit SystemProcesses(std::filesystem::path procRoot = "/proc");

    std::optional<std::vector<pid_t>> allProcessIDs() override;
    std::optional<std::string> name(pid_t pid) override;
    std::optional<std::string> executablePath(pid_t pid) override;

private:
    std::filesystem::path root_;
};

}  // namespace dorvane::processes
