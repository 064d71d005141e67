#pragma once

#include <atomic>
#include <memory>

#include "Platform/Host/Store/HostFiles.h"
#include "tests/Support/ForwardingHostStore.h"

namespace dorvane::testing {

// A host store whose lock another program holds while `held` is set: every access fails as
// a folder store's does after its wait, and nothing changes, so no watcher tells anyone
// (a quiet hold). Everything else goes to the store inside.
class RefusingHostStore : public ForwardingHostStore {
public:
    using ForwardingHostStore::ForwardingHostStore;

    std::atomic<bool> held = false;
    std::atomic<int> refusals = 0;

    // Another program takes the lock right after the next `accesses` accesses got through.
    void holdAfter(int accesses) { holdAfter_ = accesses; }

    void transact(const std::function<void(host::HostData&)>& body) override {
        refuseWhileHeld();
        ForwardingHostStore::transact(body);
        if (holdAfter_ > 0 && --holdAfter_ == 0) held = true;
    }
    void check() override {
        refuseWhileHeld();
        ForwardingHostStore::check();
    }

private:
    std::atomic<int> holdAfter_ = 0;

    void refuseWhileHeld() {
        if (!held) return;
        ++refusals;
        throw host::LockTimeout("cannot lock host.lock: another process has held it for over 1 seconds");
    }
};

}  // namespace dorvane::testing
