#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Hands the notification journal of "windows.json" to this process's handlers on the
// main queue: every entry once, when it is due, in the order of its time and then of
// its sequence number, whichever process wrote it (through the store's watcher). Entries
// that had happened before the first handler came are not delivered. The Accessibility
// observers, the workspace's notifications, the mouse monitors and the own windows'
// clicks all listen here and pick what concerns them.
class HostWindowEvents : public std::enable_shared_from_this<HostWindowEvents> {
public:
    using Handler = std::function<void(const JournalEntry&)>;

    // Without a main queue nothing can be observed: add() throws std::logic_error.
    HostWindowEvents(std::shared_ptr<HostSession> session, dispatch::MainQueue* mainQueue);
    ~HostWindowEvents();

    bool canObserve() const { return mainQueue_ != nullptr; }

    std::uint64_t add(Handler handler);
    // No call reaches the handler once this returns on the main queue.
    void remove(std::uint64_t id);
    // Stops everything.
    void end();

    // A handle that removes the handler when destroyed.
    dispatch::Observation observe(Handler handler);

private:
    void begin();
    // Any thread: reads the journal and queues what is due, in order. A read the host turned
    // away waits in the session's catch-up, to be done once it lets go.
    void pull();
    // One pull; throws when the host turned the read of the journal away. On the main queue
    // it never waits for another thread's pull: that pull pulls once more when it ends.
    void pullOnce();
    // Holds pulling_: marks what was past when the first handler came (at the first read
    // that got through), then queues what is due now and sets the timer for the rest.
    void queueDue(std::vector<JournalEntry>& journal, double now);
    // Main queue.
    void deliver(const std::vector<JournalEntry>& entries);
    // Holds mutex_.
    void scheduleTimer(double due);

    std::shared_ptr<HostSession> session_;
    dispatch::MainQueue* mainQueue_;
    std::mutex mutex_;
    // One pull at a time, so what two threads read is queued in the order it was read.
    // Recursive: the read of a pull may itself announce a change to this process. Held
    // across a wait for the host's lock, so the main queue only ever tries it.
    std::recursive_mutex pulling_;
    std::uint64_t nextHandler_ = 1;
    std::map<std::uint64_t, Handler> handlers_;
    HostSubscription subscription_;
    bool watching_ = false;
    std::set<std::uint64_t> delivered_;  // sequence numbers, of entries still in the journal
    std::uint64_t oldestKnown_ = 0;      // entries below this sequence number are past
    // When the first handler came: entries due by then are past. The first read that gets
    // through marks them so.
    double began_ = 0;
    bool baselineTaken_ = false;
    bool pullAgain_ = false;  // the main queue found a pull under way on another thread
    std::optional<double> timerDue_;
    dispatch::TimerHandle timer_;
};

}  // namespace dorvane::host
