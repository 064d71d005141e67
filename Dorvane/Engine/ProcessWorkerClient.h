#pragma once

#include "Dorvane/Engine/WorkerClient.h"
#include "Platform/Dispatch/Clock.h"

namespace dorvane {

// The production worker: a child process "<executable> --worker <command>" with its
// standard streams on files, polled on `clock`.
class ProcessWorkerClient final : public WorkerClient {
public:
    explicit ProcessWorkerClient(dispatch::Clock& clock) : clock_(clock) {}

    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override;

private:
    dispatch::Clock& clock_;
};

}  // namespace dorvane
