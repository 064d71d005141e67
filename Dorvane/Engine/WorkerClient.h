#pragma once

#include <optional>
#include <string>

namespace dorvane {

// Runs one display-worker command ("snapshot", "commit", "normalize-restore") to its
// end: the engine's only way to read or configure displays.
class WorkerClient {
public:
    virtual ~WorkerClient() = default;

    // The worker's standard output. Throws FitError as the process runner does: "操作超时：
    // <file name of executable>" once `timeout` seconds have passed, or the worker's own
    // message when it fails; other errors (launch, files) pass through unchanged.
    virtual std::string run(const std::string& executable, const std::string& command,
                            const std::optional<std::string>& input, double timeout) = 0;
};

}  // namespace dorvane
