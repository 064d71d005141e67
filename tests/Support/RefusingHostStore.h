#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "Platform/Host/HostFiles.h"
#include "Platform/Host/HostStore.h"

namespace dorvane::testing {

// A host store whose lock another program holds while `held` is set: every access fails as
// a folder store's does after its wait, and nothing changes, so no watcher tells anyone
// (a quiet hold). Everything else goes to the store inside.
class RefusingHostStore final : public host::HostStore {
public:
    explicit RefusingHostStore(std::shared_ptr<host::HostStore> inner) : inner_(std::move(inner)) {}

    std::atomic<bool> held = false;
    std::atomic<int> refusals = 0;

    void transact(const std::function<void(host::HostData&)>& body) override {
        refuseWhileHeld();
        inner_->transact(body);
    }
    void check() override {
        refuseWhileHeld();
        inner_->check();
    }
    void reset(const host::HostState& state) override { inner_->reset(state); }
    std::vector<host::ActionEntry> actionLog() override { return inner_->actionLog(); }
    processes::ProcessIdentity newSessionIdentity() override { return inner_->newSessionIdentity(); }
    bool isAlive(const processes::ProcessIdentity& process) override { return inner_->isAlive(process); }
    host::HostSubscription onProcessEnd(const processes::ProcessIdentity& process,
                                        std::function<void()> ended) override {
        return inner_->onProcessEnd(process, std::move(ended));
    }
    host::HostSubscription subscribe(std::function<void(const host::HostPulse&)> listener) override {
        return inner_->subscribe(std::move(listener));
    }
    host::DeliveredEventLog& deliveredEvents() override { return inner_->deliveredEvents(); }

    host::HostStore& inner() { return *inner_; }

private:
    void refuseWhileHeld() {
        if (!held) return;
        ++refusals;
        throw host::LockTimeout("cannot lock host.lock: another process has held it for over 1 seconds");
    }

    std::shared_ptr<host::HostStore> inner_;
};

}  // namespace dorvane::testing
