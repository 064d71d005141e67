#pragma once

#include <memory>

#include "Dorvane/Engine/WorkerClient.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Host/Store/HostStore.h"

namespace dorvane {

// The display worker run inside this process, for tests and tools that drive the
// simulated host: each run opens its own host session over `store` with the worker's
// role, as a child process would, and speaks the same JSON protocol.
//
// A run that is still busy when `timeout` has passed on `clock` is stopped as the
// process runner stops a child: it can touch the host no more, the clock moves on by
// the runner's grace period, and the run fails with "操作超时：<file name>". So a worker
// that hangs or answers late costs virtual time only.
class InProcessWorkerClient final : public WorkerClient {
public:
    InProcessWorkerClient(std::shared_ptr<host::HostStore> store, dispatch::Clock& clock)
        : store_(std::move(store)), clock_(clock) {}

    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override;

private:
    std::shared_ptr<host::HostStore> store_;
    dispatch::Clock& clock_;
};

}  // namespace dorvane
