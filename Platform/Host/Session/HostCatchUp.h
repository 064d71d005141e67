#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::host {

// Work with the host that the host turned away (its lock held by another program past the
// bound, a file that cannot be read just now) and that no later change may come to bring
// back: it is done again until it is done. The first try comes `firstDelaySeconds` after
// the refusal, each further one twice as long after the last, never more than
// `longestDelaySeconds` apart, and one comes at once after any access of this process that
// got through (the lock is free then). The one place where the readers and writers of the
// host catch up, so that a change the program makes reaches the host after a hold, and a
// change the host made reaches the program.
//
// - An attempt is refused when it throws a HostError, the host's own way of turning work
//   away. Any other throw is the work's own failure: it is said and not tried again.
// - Work is kept by key: a newer attempt of a key replaces the one waiting (the newest
//   state is what must reach the host, and a reader reads everything new anyway); keys are
//   tried in the order they first waited, and one turned away again keeps its place.
// - Tries run on the executor given (the main queue, where each is one bounded access and
//   never waits behind another thread); without one, on the thread of a later access that
//   got through.
// - The first refusal of a run (from nothing waiting to something waiting) is said once
//   through the notice, with what was turned away and why.
// - When the host session ends, what waits to be written gets one last try; what is still
//   turned away then is said by name, as lost. Reads and claims still waiting are let go
//   unsaid.
//
//   catchUp->attempt("status item", Kind::write, [=] { publishNow(item); });  // now, and again until done
//   catchUp->later("screens", Kind::read, [=] { readPulse(); }, error.what());  // it just failed
class HostCatchUp : public std::enable_shared_from_this<HostCatchUp> {
public:
    // Does the work; throws a HostError when the host turned it away.
    using Attempt = std::function<void()>;
    // What the work does: reads what the host changed, writes what the program changed, or
    // claims a part of the host for this process's run (the input). All are tried again alike,
    // but only writes are worth a last try when the session ends: a claim then would make the
    // ending process the owner for a moment, and one not made loses nothing of the person's.
    enum class Kind { read, write, claim };
    // What the notice tells: a run of refusals began, work failed for good, or work was
    // still turned away when the session ended.
    enum class Event { deferred, failed, dropped };
    using Notice = std::function<void(Event event, const std::string& line)>;

    static constexpr double firstDelaySeconds = 0.5;
    static constexpr double longestDelaySeconds = 2;

    HostCatchUp(dispatch::Clock& clock, dispatch::Executor* executor);
    ~HostCatchUp();
    HostCatchUp(const HostCatchUp&) = delete;
    HostCatchUp& operator=(const HostCatchUp&) = delete;

    // Where the events are said; none: nowhere. Set before the host is used.
    void setNotice(Notice notice);

    // Runs `attempt` now, on the calling thread. Done (or failed for good): what waited under
    // `key` before this try began is dropped, and the answer is true. Turned away: it waits
    // under `key` (replacing what waited there) to be tried again, and the answer is false.
    bool attempt(const std::string& key, Kind kind, Attempt attempt);
    // Keeps `attempt` under `key` to be tried again, without a try now: the caller's own
    // access just failed, for the reason `why`.
    void later(const std::string& key, Kind kind, Attempt attempt, const std::string& why);
    // What waits under `key` is no longer wanted.
    void drop(const std::string& key);

    // An access of this process got through: the host lets go now, so what waits is tried
    // at once (once per run of tries; it is not tried from inside one of its own tries).
    void hostLetGo();

    // Keys waiting now, in the order they are tried.
    std::vector<std::string> waiting() const;

    // The host session ends: each write still waiting gets one try, in order, on the calling
    // thread; once one is turned away the rest are not tried (the host is held still, and
    // each try would wait its bound again). What was not written is said by name. Nothing
    // is tried any more after this, and nothing waits.
    void end();

private:
    struct Work {
        std::string key;
        Kind kind = Kind::read;
        Attempt attempt;
        std::uint64_t ticket = 0;  // when it was kept: a later keep of the key has a higher one
    };
    enum class Outcome { done, refused, failed };

    // Hold mutex_. keep() puts `work` under its key, in place when the key waits already;
    // forget() drops what of `key` was kept before `ticket`; settle() ends a run of
    // refusals; schedule() sets the next try, `delay_` from now (twice the last delay when
    // the host refused again), unless one comes sooner.
    void keep(Work work);
    void forget(const std::string& key, std::uint64_t ticket);
    void settle();
    void schedule(bool refusedAgain);
    bool superseded(const Work& work) const;

    // A run: takes what waits, tries each in order, and merges what was turned away back
    // ahead of what came meanwhile.
    void run();
    std::optional<std::vector<Work>> take();
    std::vector<Work> tryEach(std::vector<Work> taken);
    void mergeBack(std::vector<Work> refused);

    // One try of `work`; `why` gets the text of a refusal or failure, which a failure says.
    Outcome tryOnce(const Work& work, std::string& why);
    void say(Event event, const std::string& line);

    dispatch::Clock& clock_;
    dispatch::Executor* executor_;
    mutable std::mutex mutex_;
    Notice notice_;
    std::vector<Work> waiting_;
    std::uint64_t nextTicket_ = 1;
    // While a run is under way: for each key kept, dropped or done elsewhere meanwhile, the
    // ticket below which work of that key taken for the run no longer stands.
    std::map<std::string, std::uint64_t> supersededBelow_;
    bool refusing_ = false;  // something was refused and is not done yet
    double delay_ = firstDelaySeconds;
    std::optional<double> nextTry_;  // when the timer fires
    std::optional<double> lastRun_;
    dispatch::TimerHandle timer_;
    bool running_ = false;
    bool soonPosted_ = false;  // a try at once is on its way to the executor
    bool ended_ = false;
};

// An attempt that does `work` with the object `owner` points to while that object lives, and
// is done once it has gone; `work` throws a HostError when the host turned it away.
//
//   catchUp.attempt("screens", Kind::read, whileAlive(weak_from_this(), [](Hub& hub) { hub.refresh(); }));
template <typename T, typename Work>
HostCatchUp::Attempt whileAlive(std::weak_ptr<T> owner, Work work) {
    return [owner = std::move(owner), work = std::move(work)] {
        if (const auto alive = owner.lock()) work(*alive);
    };
}

}  // namespace dorvane::host
