#pragma once

#include <memory>
#include <utility>

#include "Platform/Host/Store/HostStore.h"

namespace dorvane::testing {

// A host store that hands everything to the store inside: the base of the tests' stores that
// change how accesses go (a held lock, an access kept waiting) and nothing else.
class ForwardingHostStore : public host::HostStore {
public:
    explicit ForwardingHostStore(std::shared_ptr<host::HostStore> inner) : inner_(std::move(inner)) {}

    void transact(const std::function<void(host::HostData&)>& body) override { inner_->transact(body); }
    void check() override { inner_->check(); }
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
    std::shared_ptr<host::HostStore> inner_;
};

}  // namespace dorvane::testing
