#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/EngineStatus.h"
#include "Dorvane/Engine/VirtualDisplay.h"
#include "Dorvane/Engine/WorkerClient.h"
#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Display/StableModes.h"
#include "DorvaneCore/Display/ZeroDisplayActivation.h"
#include "DorvaneCore/Support/UUID.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/UserActivity.h"
#include "Platform/Displays/VirtualDisplayServices.h"

namespace dorvane {

// The one object through which the program changes displays: it fits a logical size
// (a virtual display made main, every physical display mirroring it), hands a new size
// over to a second virtual display, restores the physical layout saved before the
// first fit, defers that restore while no physical display is online, and remembers
// the modes of a layout left alone for a while.
//
// It is an actor. Every operation runs on its serial queue from start to end, worker
// runs and pauses included, so display operations never interleave. The main thread
// awaits the Task members; the synchronous members are for code that already runs on
// the queue (the display self-tests, through perform()), and a debug build aborts when
// one is called anywhere else.
//
// Files it alone reads and writes in `root`: "session.json" (the layout before the fit),
// "session.last.json", "session.failed.json", "stable-layouts.json", and the log
// "Dorvane.log" with "Dorvane.previous.log".
//
// A "session.json" that can never be used (not a regular file, or read whole and not a
// list of display states) does not stop restoring for good: it is moved aside to
// "session.invalid-<UTC>.json" and the restore goes on from the bytes this run wrote, or,
// when it did not write them, as when no session was saved. A file that cannot be read
// just now (permissions, I/O) still fails the restore, to be tried again.
class DisplayEngine {
public:
    struct Services {
        std::filesystem::path root;     // the support folder
        std::string executable;         // started as "<executable> --worker <command>"
        dispatch::Executor& queue;      // the actor's serial queue
        dispatch::Clock& clock;         // uptime, log time and every pause
        displays::VirtualDisplayServices& virtualDisplays;  // of the application's own host session
        displays::UserActivity& userActivity;               // wakes sleeping displays
        WorkerClient& worker;
        RandomSource random;            // virtual display serial numbers
    };

    explicit DisplayEngine(Services services);
    ~DisplayEngine();
    DisplayEngine(const DisplayEngine&) = delete;
    DisplayEngine& operator=(const DisplayEngine&) = delete;

    static constexpr double workerTimeout = 12.0;
    static constexpr const char* sessionFileName = "session.json";
    static constexpr const char* lastSessionFileName = "session.last.json";
    static constexpr const char* failedSessionFileName = "session.failed.json";
    static constexpr const char* stableFileName = "stable-layouts.json";
    static constexpr const char* invalidSessionStem = "session";  // "session.invalid-<UTC>.json"

    // A "session.json" that could not be used, met by a restore: where it went, or why it
    // stayed, and what was wrong with it.
    struct InvalidSession {
        static constexpr const char* noticeTitle = "屏幕记录已损坏";

        std::optional<std::filesystem::path> movedTo;  // absent when the move failed
        std::string moveError;                         // why it stayed, when it did
        std::string error;                             // why it cannot be used

        // The notice's detail: where the file went, and that the displays were restored
        // as they are now.
        std::string noticeDetail() const;
        // The engine-log detail of "session_file_invalid".
        std::string logDetail() const;
        // What the command-line modes print for it on standard error.
        std::string failureMessage() const;
    };

    // How resuming a deferred restore ended: the displays are back; nothing was restored
    // (nothing pending, deferred again, or failed; the restore stays as it was); or it
    // failed because another program held the host past the worker's wait, so that it may
    // well go through once the host lets go.
    enum class Resumed { restored, notRestored, hostHeld };

    // ---- Awaitable operations for the main thread ----

    // The start-up check; restores a session left over from an earlier run once.
    dispatch::Task<EngineStatus> initialize();
    // Fits `dimensions`. Never fails: a failure is the status's detail.
    dispatch::Task<EngineStatus> apply(Dimensions dimensions);
    // False only when deferred for want of a physical display; throws on every other
    // failure, keeping "session.json" for the next try.
    dispatch::Task<bool> restore();
    dispatch::Task<Resumed> resumePendingRestore();
    // The quit restore; apply() refuses from now on unless it throws.
    dispatch::Task<void> shutdown();
    dispatch::Task<void> beginStableWindow();
    dispatch::Task<void> finishStableWindow();
    dispatch::Task<void> noteRemoteActivity();
    dispatch::Task<std::optional<Dimensions>> appliedSize();
    dispatch::Task<bool> restorePending();

    // Told, on the engine's queue, of each damaged session file a restore set aside. Set
    // it before the first operation.
    void setInvalidSessionObserver(std::function<void(const InvalidSession&)> observer) {
        invalidSessionObserver_ = std::move(observer);
    }

    // Runs `work(*this)` on the engine's queue as one operation.
    template <typename F>
    dispatch::Task<std::invoke_result_t<F&, DisplayEngine&>> perform(F work) {
        return dispatch::runOn(queue_, [this, work = std::move(work)]() mutable { return work(*this); });
    }

    // ---- Synchronous operations, on the engine's queue only (asserted) ----

    EngineStatus initializeNow();
    EngineStatus applyNow(const Dimensions& dimensions);
    // The fit itself; throws FitError. `recoveryData` is written as "session.json" in
    // place of a fresh snapshot. The two injections serve the display self-tests:
    // `injectFailure` fails just before the commit, `injectFailureAfterSwitch` just
    // after a hand-over was committed and verified.
    void activate(const Dimensions& dimensions, bool injectFailure, const std::optional<std::string>& recoveryData,
                  bool injectFailureAfterSwitch);
    bool restoreNow();
    Resumed resumePendingRestoreNow();
    void shutdownNow();
    void beginStableWindowNow();
    void finishStableWindowNow();
    void noteRemoteActivityNow();

    // One line "<ISO 8601 UTC> <event> <detail>" in the engine log; never fails.
    void log(std::string_view event, std::string_view detail);

    // Worker operations.
    std::vector<DisplayState> snapshot();
    void commit(const std::vector<DisplayState>& targets);
    std::vector<DisplayState> restorationTargets(const std::vector<DisplayState>& targets);
    // Writes "session.json".
    void save(const std::vector<DisplayState>& displays);
    // Waits until two polls in a row show the targets; an old virtual display named by
    // `disappearingID` may still be listed meanwhile.
    void verifyTransition(const std::vector<DisplayState>& targets, std::uint32_t sourceID,
                          std::optional<std::uint32_t> disappearingID);

    // The virtual display, created and then seen by the worker.
    std::unique_ptr<DVVirtualDisplay> createDisplay(const Dimensions& dimensions, const ZeroDisplayActivation& policy);
    DisplayState readySource(std::uint32_t id, const Dimensions& dimensions, const ZeroDisplayActivation& policy);

    EngineStatus report(const std::string& title, const std::optional<std::string>& detail) const;

    std::optional<Dimensions> applied() const { return applied_; }
    bool isRestorePending() const { return pendingRestore_; }
    // Why the last restoreNow() gave the restore up ("session.json" moved to
    // "session.failed.json" and true answered), or nothing when it did not. restore()
    // answers true for a given-up restore; the command-line modes report it as a failure.
    const std::optional<std::string>& abandonedRestoreReason() const { return abandonedRestoreReason_; }
    // The last damaged session file a restore of this engine met, or nothing.
    const std::optional<InvalidSession>& invalidSession() const { return invalidSession_; }
    bool isShuttingDown() const { return shuttingDown_; }
    // How many restores put the physical displays back (or found nothing to put back) so
    // far. Safe from any thread.
    std::uint64_t completedRestores() const { return completedRestores_.load(); }
    bool hasSession() const;
    bool idleForStable() const;
    // The held virtual display's id, 0 when none is held.
    std::uint32_t virtualDisplayID() const;
    // Virtual displays let go whose release the system has not taken yet.
    std::size_t unreleasedDisplayCount() const { return unreleased_.size(); }
    // Loaded from "stable-layouts.json" on first use; empty when that file is unusable.
    const StableModes& stableModes();

    const std::filesystem::path& root() const { return root_; }
    dispatch::Clock& clock() const { return clock_; }
    const std::string& executable() const { return executable_; }
    std::filesystem::path sessionPath() const { return root_ / sessionFileName; }
    std::filesystem::path stablePath() const { return root_ / stableFileName; }

    // The layout text of a display list, e.g. "1*:2940x1912/1470x956@0,0m0 2:…".
    static std::string layout(const std::vector<DisplayState>& displays) { return layoutText(displays); }

private:
    // What "session.json" holds, read for a restore.
    struct SavedSession {
        std::string bytes;
        std::vector<DisplayState> displays;
    };
    // The saved session: nothing when the file can never be used (it is then moved aside
    // and reported). A file that cannot be read now throws.
    std::optional<SavedSession> readSession();
    // Moves an unusable "session.json" aside, logs and reports it.
    void setAsideSession(const std::string& error);
    // The session this run wrote, when it can still be read back.
    std::optional<SavedSession> sessionInMemory() const;
    // The bytes of "session.json" when they are a session, for handing over as recovery
    // data; this run's own bytes first.
    std::optional<std::string> recoveryBytes();
    // Writes "session.json" and keeps its bytes for as long as the session lasts.
    void writeSession(const std::string& bytes);
    // The restore's road when there is no session to go back to.
    bool restoreWithoutSession();

    // Lets the held virtual display go, and those kept from earlier releases the system
    // did not take. A display that stays is kept, never forgotten: the next restore
    // tries again.
    void releaseVirtualDisplays();
    void retire(std::unique_ptr<DVVirtualDisplay> display);

    // The steps of restoreNow(): the deferral test, one attempt (plan, commit, verify,
    // record) and giving up after the last one.
    bool mustDefer(const std::vector<DisplayState>& saved);
    void restoreAttempt(const std::vector<DisplayState>& saved, const std::string& bytes, bool lastAttempt,
                        double start);
    std::vector<DisplayState> plannedRestoreTargets(const std::vector<DisplayState>& saved);
    // Throws unless the actual layout holds the targets (on the last attempt, origins the
    // system chose are accepted into `targets`) and no other virtual display is left.
    void verifyRestoredLayout(std::vector<DisplayState>& targets, const std::vector<DisplayState>& actual,
                              bool lastAttempt);
    void recordRestored(const std::vector<DisplayState>& saved, const std::string& bytes,
                        const std::vector<DisplayState>& targets, const std::vector<DisplayState>& actual,
                        double start);
    void endSession();
    void giveUpRestore(const std::exception_ptr& lastError, const std::string& lastMessage, const std::string& bytes);

    // The steps of activate(): the live layout once sleeping displays woke and an own
    // leftover went, the base it is judged by, and the switch to the new virtual display.
    struct LiveLayout {
        std::vector<DisplayState> displays;
        bool woken = false;  // the displays were woken on the way
    };
    LiveLayout settledLayout();
    std::vector<DisplayState> baseLayout(const std::vector<DisplayState>& live);
    void switchToVirtualDisplay(const Dimensions& dimensions, const std::vector<DisplayState>& states,
                                const ZeroDisplayActivation& policy, bool injectFailure, double start);

    // A replacement of the virtual display in one session, and its steps: the hand-over to
    // the new display, putting the old one back, and the last resort over the physical layout.
    struct DisplayHandover {
        Dimensions oldSize;
        std::uint32_t oldID = 0;
        DisplayState oldState;
        std::vector<DisplayState> physical;
        std::unique_ptr<DVVirtualDisplay> newDisplay;  // ours until it takes over
        std::uint32_t newID = 0;
        std::optional<DisplayState> newTarget;
        bool commitAttempted = false;
        bool oldReleased = false;
    };
    void replaceDisplay(const Dimensions& dimensions, bool injectFailure, bool injectFailureAfterSwitch);
    void handOver(DisplayHandover& handover, const Dimensions& dimensions, bool injectFailure,
                  bool injectFailureAfterSwitch);
    // Whether the old display is the main one again, the new one gone.
    bool putOldDisplayBack(DisplayHandover& handover);
    void fallBackToPhysicalLayout(DisplayHandover& handover, const Dimensions& dimensions,
                                  const std::optional<std::string>& recovery);
    bool headless(const std::vector<DisplayState>& saved);
    void restoreFullHeightIfNeeded();
    void reassertRestoredModes(const std::vector<DisplayState>& targets);
    // Declares user activity (which wakes sleeping displays) and lets the assertion go at once.
    void wakeDisplays();
    std::string runWorker(const std::string& command, const std::optional<std::string>& input);
    std::uint32_t nextSerial();

    std::filesystem::path root_;
    std::string executable_;
    dispatch::Executor& queue_;
    dispatch::Clock& clock_;
    displays::VirtualDisplayServices& virtualDisplays_;
    displays::UserActivity& userActivity_;
    WorkerClient& worker_;
    RandomSource random_;
    EngineLog log_;

    std::unique_ptr<DVVirtualDisplay> virtualDisplay_;
    std::vector<std::unique_ptr<DVVirtualDisplay>> unreleased_;
    std::optional<Dimensions> applied_;
    bool recovered_ = false;
    bool pendingRestore_ = false;
    bool shuttingDown_ = false;
    std::uint32_t lastDisplaySerial_ = 1;
    std::optional<std::string> abandonedRestoreReason_;
    std::optional<std::string> sessionBytes_;  // what this run wrote as "session.json"
    bool sessionFileStayed_ = false;           // the damaged file could not be moved aside
    std::optional<InvalidSession> invalidSession_;
    std::function<void(const InvalidSession&)> invalidSessionObserver_;
    std::optional<StableModes> stableModes_;
    std::optional<std::vector<DisplayState>> stableBaseline_;
    double stableWindowStart_ = 0;
    double lastDisplayWork_ = 0;
    std::atomic<std::uint64_t> completedRestores_{0};
};

}  // namespace dorvane
