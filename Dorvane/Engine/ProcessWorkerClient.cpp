#include "Dorvane/Engine/ProcessWorkerClient.h"

#include "Dorvane/Engine/ProcessRunner.h"

namespace dorvane {

std::string ProcessWorkerClient::run(const std::string& executable, const std::string& command,
                                     const std::optional<std::string>& input, double timeout) {
    return ProcessRunner::run(executable, {"--worker", command}, input, timeout, clock_);
}

}  // namespace dorvane
