#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "Platform/Host/State/ActionEntry.h"
#include "Platform/Host/Store/DeliveredEventLog.h"
#include "Platform/Host/State/HostData.h"
#include "Platform/Host/State/HostPulse.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

// Keeps a store listener registered until destroyed or cancelled.
class HostSubscription {
public:
    HostSubscription() = default;
    explicit HostSubscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    HostSubscription(HostSubscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    HostSubscription& operator=(HostSubscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    HostSubscription(const HostSubscription&) = delete;
    HostSubscription& operator=(const HostSubscription&) = delete;
    ~HostSubscription() { cancel(); }

    void cancel() {
        if (auto cancel = std::exchange(cancel_, nullptr)) cancel();
    }

private:
    std::function<void()> cancel_;
};

// Where the host lives: in memory (tests) or in a folder shared by processes.
class HostStore {
public:
    virtual ~HostStore() = default;

    // Runs `body` with exclusive access to the whole host; what it changed is kept when
    // it returns and dropped when it throws. `body` must not wait or call the store. Each
    // part is read when `body` first uses it. Throws HostError when a part it uses cannot be
    // read, or its changes cannot be written.
    virtual void transact(const std::function<void(HostData&)>& body) = 0;

    // Reads the whole host and makes sure a change could be written (memory the host lost
    // is started afresh here). Throws HostError, naming the file (or the folder) and the
    // cause, when the host cannot be used.
    virtual void check() = 0;

    // Replaces the whole host: this state, no fault rules, an empty action log, no user
    // defaults or announcements, the default appearance (notifications on their way to
    // running programs stay). Works on a store whose files are malformed.
    virtual void reset(const HostState& state) = 0;

    virtual std::vector<ActionEntry> actionLog() = 0;

    // The identity a new session of this store acts as: the calling process for a
    // folder, a fresh simulated process in memory.
    virtual processes::ProcessIdentity newSessionIdentity() = 0;
    virtual bool isAlive(const processes::ProcessIdentity& process) = 0;

    // Calls `ended` once the process has ended: on any thread, or at once on this one
    // when it already has. An empty subscription when this system cannot watch it.
    virtual HostSubscription onProcessEnd(const processes::ProcessIdentity& process, std::function<void()> ended) = 0;

    // Calls `listener` (on any thread) after the generation or the next due time
    // changed, including changes made by other processes.
    virtual HostSubscription subscribe(std::function<void(const HostPulse&)> listener) = 0;

    // The events delivered on this host, shared by every session.
    virtual DeliveredEventLog& deliveredEvents() = 0;
};

}  // namespace dorvane::host
