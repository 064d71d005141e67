#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "Platform/Host/Store/HostFiles.h"
#include "Platform/Host/Store/HostStore.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/Host/State/HostState.h"
#include "Platform/Host/State/PowerState.h"
#include "Platform/Host/State/PermissionsState.h"
#include "Platform/Host/State/ProcessTable.h"
#include "Platform/Host/State/WindowsState.h"
#include "Platform/Host/State/WorkspaceState.h"
#include "Platform/Processes/ProcessExitWatcher.h"

namespace dorvane::host {

class FolderWatcher;

// Identifies one version of a file: a replacement by rename always changes it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedNanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `path` (a link as itself), or nothing when it does not exist.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// What a folder store is given beside its folder; tests replace parts of it.
struct FolderHostOptions {
    // How the threads that may wait (all but the main thread; every thread of a process
    // without one) wait for the folder's lock.
    LockWait lockWait;
    // The main thread waits no longer than this.
    std::int64_t mustNotWaitPatienceMicroseconds = LockWait::kQuickPatienceMicroseconds;
    std::shared_ptr<HostFileWriter> writer = atomicHostFileWriter();
    // One line for the person at the terminal: a file of the host's memory was lost and
    // starts afresh. None: standard error.
    std::function<void(const std::string&)> notice;
    // True on the thread that must not wait (the main thread). Once an access found the
    // folder's lock held for longer than its wait's patience, that thread tries the lock once
    // and fails at once, until some access gets the lock again: during a long hold by another
    // process only the threads that may wait do.
    std::function<bool()> mustNotWait;
};

// The host as a folder of JSON files that every process opens: "displays.json" (the
// displays, behaviours and counters), "faults.json" (fault rules), "power.json" (power
// assertions), "processes.json" (simulated processes), "workspace.json" (running
// applications, wakes), "windows.json" (other applications' windows), "permissions.json",
// "input.json" (input from outside and its owner), "events.jsonl" (the delivered events),
// "statusbar.json" (the status item and its clicks), "actions.log" (the action log, one
// JSON object a line), "defaults.json" (user defaults), "appearance.json",
// "notifications.json" (distributed notifications not yet taken by every reader),
// "announcements.jsonl" (the last spoken announcements, one JSON object a line),
// "launching.json" (how opening application bundles behaves).
//
// The folder must be the user's own and closed to others' writes; its files are opened
// without following links or waiting, and only regular files are read. Every access holds
// an exclusive flock on "host.lock" (opened close-on-exec, so child processes never inherit
// it; waited for about ten seconds at most, a second on the main thread, then the access
// fails with LockTimeout), then a mutex for the threads of this process, which no thread
// holds while it waits for the lock; it reads only the files of the parts it uses, and
// replaces changed files atomically: by rename alone for the files that stand for a
// server's memory (displays, windows, workspace, status bar, input, power, processes,
// notifications), flushed to disk first for the others. A missing file starts as the
// default (the displays as the default machine). A memory file that is empty or cannot be
// decoded is what a power loss leaves: that memory is lost and starts afresh, said in one
// line. Any other malformed file fails the accesses that use it and is never overwritten
// except by reset().
class FolderHostStore final : public HostStore {
public:
    // Creates the folder when missing. Throws HostError when it cannot or must not be used.
    explicit FolderHostStore(std::filesystem::path folder, FolderHostOptions options = {});
    ~FolderHostStore() override;

    const std::filesystem::path& folder() const { return folder_; }

    void transact(const std::function<void(HostData&)>& body) override;
    void check() override;
    void reset(const HostState& state) override;
    std::vector<ActionEntry> actionLog() override;
    processes::ProcessIdentity newSessionIdentity() override;
    bool isAlive(const processes::ProcessIdentity& process) override;
    // Real processes, watched through pidfds on a thread of their own.
    HostSubscription onProcessEnd(const processes::ProcessIdentity& process, std::function<void()> ended) override;

    // Watches the folder with inotify on a thread of its own, so changes made by other
    // processes are reported as well.
    HostSubscription subscribe(std::function<void(const HostPulse&)> listener) override;
    DeliveredEventLog& deliveredEvents() override { return *delivered_; }

    // A decoded file and the stamp of the file it came from; one copy per file. Every
    // writer holds the folder lock and replaces files by rename, so an unchanged stamp
    // means an unchanged file and the text need not be read or parsed again.
    template <typename T>
    struct CachedFile {
        std::optional<FileStamp> stamp;
        T value{};
        bool lost = false;  // the file at `stamp` was lost memory; `value` is its fresh start, to be written
    };

private:
    // Calls visit.template operator()<P>(path, cache) for every part, the displays last (as
    // they are written last).
    template <typename Visit>
    void forEachPart(Visit&& visit);
    const std::filesystem::path& pathOf(HostPart part) const { return paths_[static_cast<std::size_t>(part)]; }
    // Fills the part's slot from its file; the caller holds both locks.
    void fetch(HostData& data, HostPart part);
    // Writes the parts the access used that changed (only those that were lost memory).
    void commit(HostData& data, bool onlyLost = false);
    void writeText(const std::filesystem::path& path, const std::string& text);
    template <typename T>
    bool loadCached(const std::filesystem::path& path, CachedFile<T>& cache);
    template <typename T>
    void storeCached(const std::filesystem::path& path, CachedFile<T>& cache, const T& value);
    void appendLog(const std::vector<ActionEntry>& entries, bool truncate);
    HostFileLock lockFolder();

    std::filesystem::path folder_;
    std::array<std::filesystem::path, kHostPartCount> paths_;  // each part's file
    std::filesystem::path lockPath_;
    std::filesystem::path actionLogPath_;
    FolderHostOptions options_;
    std::mutex mutex_;
    std::atomic<bool> heldLong_ = false;  // the last wait for the folder's lock ran out
    std::vector<json::Json> lost_;  // memory files this access found lost, for the action log
    CachedFile<HostState> stateCache_;
    CachedFile<FaultRules> faultsCache_;
    CachedFile<PowerState> powerCache_;
    CachedFile<ProcessTable> processesCache_;
    CachedFile<WorkspaceState> workspaceCache_;
    CachedFile<StatusBarState> statusBarCache_;
    CachedFile<WindowsState> windowsCache_;
    CachedFile<PermissionsState> permissionsCache_;
    CachedFile<InputState> inputCache_;
    std::unique_ptr<FileDeliveredEventLog> delivered_;
    CachedFile<DefaultsState> defaultsCache_;
    CachedFile<AppearanceState> appearanceCache_;
    CachedFile<NotificationJournal> notificationsCache_;
    CachedFile<AnnouncementLog> announcementsCache_;
    CachedFile<LaunchBehaviours> launchingCache_;
    std::mutex watcherMutex_;
    std::shared_ptr<FolderWatcher> watcher_;
    std::shared_ptr<processes::ProcessExitWatcher> exits_;
};

}  // namespace dorvane::host
