#include "Platform/Host/Store/FolderHostStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <type_traits>
#include <utility>
#include <system_error>

#include <fcntl.h>
#include <malloc.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/FileDescriptor.h"
#include "Platform/Host/Store/FolderPulse.h"
#include "Platform/Host/Store/FolderWatcher.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/State/HostPulse.h"

namespace dorvane::host {

namespace {

constexpr std::size_t kLargeFile = 1'000'000;
// How much of the action log's end is read for its last number: far more than any line.
constexpr std::size_t kLogTail = 1 << 20;

// The files that stand for a server's memory: a crash of the machine loses that memory
// anyway, so they are replaced by rename alone, without waiting for the disk. The others
// stand for stores that survive a restart (user defaults, permissions, appearance) or are
// a test's set-up (fault rules, launch behaviours), and are flushed before the rename.
bool standsForMemory(const std::filesystem::path& path) {
    const auto name = path.filename().string();
    for (const char* file : {kDisplaysFile, kWindowsFile, kWorkspaceFile, kStatusBarFile, kInputFile, kPowerFile,
                             kProcessesFile, kNotificationsFile}) {
        if (name == file) return true;
    }
    return false;
}

// Most files hold one JSON document; a log in JSON lines has its own text form.
template <typename T>
json::Json parseDocument(const std::string& text) {
    if constexpr (requires { T::parseLines(text); }) {
        return T::parseLines(text);
    } else {
        return json::parse(text);
    }
}

std::string documentText(const json::Json& document) { return json::serializePretty(document) + "\n"; }

template <typename T>
std::string fileText(const json::Json& document) {
    if constexpr (requires { T::linesText(document); }) {
        return T::linesText(document);
    } else {
        return documentText(document);
    }
}

// Parsing or encoding a large file takes many times its size for a moment (the whole JSON
// document); that is given back, so that a process keeps what it holds (one decoded value
// per file) rather than the most it ever parsed.
void afterLargeText(std::size_t size) {
    if (size >= kLargeFile) ::malloc_trim(0);
}

// What a part is when its file is missing, or lost.
template <typename T>
T freshValue() {
    if constexpr (std::is_same_v<T, HostState>) {
        return makeFixture(HostFixture::laptop);
    } else {
        return T{};
    }
}

// The number of the action log's last whole entry, 0 when there is none or the log cannot be
// read: only its end is read, as the log only grows. A line cut short (a power loss) or
// damaged is passed over for the one before it.
std::uint64_t lastLoggedNumber(const std::filesystem::path& path) {
    try {
        const FileDescriptor fd(openHostFile(path, O_RDONLY));
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0 || info.st_size <= 0) return 0;
        const auto size = static_cast<std::size_t>(info.st_size);
        const std::size_t start = size > kLogTail ? size - kLogTail : 0;
        std::string tail(size - start, '\0');
        const ssize_t count = ::pread(fd.get(), tail.data(), tail.size(), static_cast<off_t>(start));
        if (count <= 0) return 0;
        tail.resize(static_cast<std::size_t>(count));
        // Only lines that end in a line break were written whole; the first may have begun
        // before the tail.
        std::size_t end = tail.rfind('\n');
        while (end != std::string::npos && end > 0) {
            const std::size_t before = tail.rfind('\n', end - 1);
            const std::size_t begin = before == std::string::npos ? 0 : before + 1;
            if (begin > 0 || start == 0) {
                try {
                    return ActionEntry::fromJson(json::parse(std::string_view(tail).substr(begin, end - begin))).seq;
                } catch (const json::DecodeError&) {
                }
            }
            if (before == std::string::npos) break;
            end = before;
        }
    } catch (const HostError&) {
    }
    return 0;
}

// A last line cut short (a power loss) never reads; entries appended to it would join it and
// be lost with it, so it goes first. Only what follows the last line break goes, and nothing
// when that break lies further back than the tail read for it.
void dropTornLine(int fd, const std::filesystem::path& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0) return;
    const auto size = static_cast<std::size_t>(info.st_size);
    char last = '\n';
    if (::pread(fd, &last, 1, static_cast<off_t>(size - 1)) != 1 || last == '\n') return;
    const std::size_t start = size > kLogTail ? size - kLogTail : 0;
    std::string tail(size - start, '\0');
    const ssize_t count = ::pread(fd, tail.data(), tail.size(), static_cast<off_t>(start));
    if (count != static_cast<ssize_t>(tail.size())) return;
    const std::size_t end = tail.rfind('\n');
    if (end == std::string::npos && start > 0) return;
    const std::size_t kept = end == std::string::npos ? 0 : start + end + 1;
    if (::ftruncate(fd, static_cast<off_t>(kept)) != 0) {
        throw HostError("cannot append to " + path.string() + ": " +
                        std::error_code(errno, std::generic_category()).message());
    }
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                     static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

FolderHostStore::FolderHostStore(std::filesystem::path folder, FolderHostOptions options)
    : folder_(std::move(folder)), options_(std::move(options)) {
    if (!options_.writer) options_.writer = atomicHostFileWriter();
    prepareHostFolder(folder_);
    const std::pair<HostPart, const char*> files[] = {
        {HostPart::state, kDisplaysFile},         {HostPart::faults, kFaultsFile},
        {HostPart::power, kPowerFile},            {HostPart::processes, kProcessesFile},
        {HostPart::workspace, kWorkspaceFile},    {HostPart::statusBar, kStatusBarFile},
        {HostPart::windows, kWindowsFile},        {HostPart::permissions, kPermissionsFile},
        {HostPart::input, kInputFile},            {HostPart::defaults, kDefaultsFile},
        {HostPart::appearance, kAppearanceFile},  {HostPart::notifications, kNotificationsFile},
        {HostPart::announcements, kAnnouncementsFile}, {HostPart::launching, kLaunchingFile}};
    for (const auto& [part, name] : files) paths_[static_cast<std::size_t>(part)] = folder_ / name;
    lockPath_ = folder_ / kLockFile;
    actionLogPath_ = folder_ / kActionLogFile;
    delivered_ = std::make_unique<FileDeliveredEventLog>(folder_ / kDeliveredEventsFile, options_.lockWait);
}

FolderHostStore::~FolderHostStore() {
    std::lock_guard lock(watcherMutex_);
    watcher_.reset();
    exits_.reset();
}

template <typename Visit>
void FolderHostStore::forEachPart(Visit&& visit) {
    visit.template operator()<HostPart::faults>(pathOf(HostPart::faults), faultsCache_);
    visit.template operator()<HostPart::power>(pathOf(HostPart::power), powerCache_);
    visit.template operator()<HostPart::processes>(pathOf(HostPart::processes), processesCache_);
    visit.template operator()<HostPart::workspace>(pathOf(HostPart::workspace), workspaceCache_);
    visit.template operator()<HostPart::windows>(pathOf(HostPart::windows), windowsCache_);
    visit.template operator()<HostPart::permissions>(pathOf(HostPart::permissions), permissionsCache_);
    visit.template operator()<HostPart::input>(pathOf(HostPart::input), inputCache_);
    visit.template operator()<HostPart::statusBar>(pathOf(HostPart::statusBar), statusBarCache_);
    visit.template operator()<HostPart::defaults>(pathOf(HostPart::defaults), defaultsCache_);
    visit.template operator()<HostPart::appearance>(pathOf(HostPart::appearance), appearanceCache_);
    visit.template operator()<HostPart::notifications>(pathOf(HostPart::notifications), notificationsCache_);
    visit.template operator()<HostPart::announcements>(pathOf(HostPart::announcements), announcementsCache_);
    visit.template operator()<HostPart::launching>(pathOf(HostPart::launching), launchingCache_);
    // Last: watchers read this file, and by then the rest is in place.
    visit.template operator()<HostPart::state>(pathOf(HostPart::state), stateCache_);
}

void FolderHostStore::writeText(const std::filesystem::path& path, const std::string& text) {
    try {
        options_.writer->replace(path, text, standsForMemory(path) ? Durability::renameOnly : Durability::flushed);
    } catch (const std::system_error& error) {
        throw HostError("cannot write " + path.string() + ": " + error.code().message());
    }
}

// The file's value into the cache, read only when the file changed since this process last
// saw it. False when it does not exist.
template <typename T>
bool FolderHostStore::loadCached(const std::filesystem::path& path, CachedFile<T>& cache) {
    const auto stamp = fileStamp(path);
    if (!stamp) {
        cache.stamp.reset();
        return false;
    }
    if (cache.stamp == stamp) return true;
    const auto text = readHostFile(path);
    if (!text) {
        cache.stamp.reset();
        return false;
    }
    const auto lastGeneration = [&]() -> std::uint64_t {
        if constexpr (requires { cache.value.generation; }) return cache.value.generation;
        return 0;
    }();
    cache.stamp.reset();  // a decoding failure leaves nothing cached
    cache.lost = false;
    try {
        cache.value = T::fromJson(parseDocument<T>(*text));
    } catch (const json::DecodeError& error) {
        // An empty file is what a replacement cut short by a power loss leaves.
        const std::string what = text->empty() ? "the file is empty" : error.what();
        if (!standsForMemory(path)) {
            throw HostError("malformed host folder: " + path.string() + ": " + what +
                            " (remove that file to start it afresh)");
        }
        // Memory that a crash lost: it starts afresh, its counts above any a watcher saw (the
        // damaged file's time in microseconds, far above what counting reaches), said once, and
        // written when the access ends (the start-up check writes nothing else).
        cache.value = freshValue<T>();
        cache.stamp = stamp;
        cache.lost = true;
        if constexpr (requires { cache.value.generation; }) {
            cache.value.generation =
                std::max<std::uint64_t>(lastGeneration + 1, static_cast<std::uint64_t>(stamp->modifiedNanoseconds / 1000));
        }
        const std::string line = "host memory lost: " + path.string() + ": " + what + "; it starts afresh";
        if (options_.notice) {
            options_.notice(line);
        } else {
            std::cerr << line << std::endl;
        }
        json::Json details = json::Json::object();
        details["file"] = path.filename().string();
        details["cause"] = what;
        lost_.push_back(std::move(details));
        return true;
    }
    cache.stamp = stamp;
    afterLargeText(text->size());
    return true;
}

// Writes the value when it changed, and remembers what is now on disk.
template <typename T>
void FolderHostStore::storeCached(const std::filesystem::path& path, CachedFile<T>& cache, const T& value) {
    // Most accesses only read; comparing values is far cheaper than encoding them.
    if (cache.stamp && !cache.lost && value == cache.value) return;
    const std::string text = fileText<T>(value.toJson());
    writeText(path, text);
    cache.value = value;
    cache.stamp = fileStamp(path);
    cache.lost = false;
    afterLargeText(text.size());
}

void FolderHostStore::appendLog(const std::vector<ActionEntry>& entries, bool truncate) {
    const auto& path = actionLogPath_;
    std::string text;
    for (const auto& entry : entries) text += json::serialize(entry.toJson()) + "\n";
    const FileDescriptor fd(openHostFile(path, O_RDWR | O_CREAT | O_APPEND | (truncate ? O_TRUNC : 0)));
    if (!truncate) dropTornLine(fd.get(), path);
    if (const int code = writeAll(fd.get(), text); code != 0) {
        throw HostError("cannot append to " + path.string() + ": " +
                        std::error_code(code, std::generic_category()).message());
    }
}

// Every access takes the folder's lock before the mutex of this process's threads: each
// thread waits for a lock held by another process with its own patience, and the mutex is
// held only by the thread that has the lock already, for as long as its access runs. (A
// thread that took the mutex first would keep the main thread waiting for as long as
// another process keeps the lock, far beyond the main thread's own patience.) Each access
// opens the lock file afresh, so the threads of this process exclude one another through
// the lock as well; the mutex is what orders their use of the caches.
HostFileLock FolderHostStore::lockFolder() {
    LockWait wait = options_.lockWait;
    if (options_.mustNotWait && options_.mustNotWait()) {
        wait.patienceMicroseconds = std::min(wait.patienceMicroseconds, options_.mustNotWaitPatienceMicroseconds);
        wait.once = heldLong_;
    }
    try {
        HostFileLock lock(lockPath_, wait);
        heldLong_ = false;
        return lock;
    } catch (const LockTimeout&) {
        heldLong_ = true;
        throw;
    }
}

void FolderHostStore::fetch(HostData& data, HostPart wanted) {
    forEachPart([&]<HostPart P>(const std::filesystem::path& path, auto& cache) {
        if (P != wanted) return;
        auto& slot = data.slot<P>();
        const bool loaded = loadCached(path, cache);
        if (loaded) {
            slot = cache.value;
        } else {
            slot = freshValue<std::remove_cvref_t<decltype(cache.value)>>();
        }
        // The action log outlives the displays' counter that numbers its lines: a counter
        // started afresh goes on after the log's last line rather than repeating its numbers.
        if constexpr (P == HostPart::state) {
            if (!loaded || cache.lost) {
                slot->nextActionSeq = std::max(slot->nextActionSeq, lastLoggedNumber(actionLogPath_) + 1);
            }
        }
    });
}

void FolderHostStore::commit(HostData& data, bool onlyLost) {
    // Recording uses the displays' counter, whose own file may turn out lost as well.
    while (!lost_.empty()) {
        for (auto& details : std::exchange(lost_, {})) data.record(Actor::host(), "hostMemoryLost", std::move(details));
    }
    // The log's lines take their numbers from the displays' counter: those are used whenever
    // there are lines.
    if (!data.appended.empty()) appendLog(data.appended, false);
    forEachPart([&]<HostPart P>(const std::filesystem::path& path, auto& cache) {
        if (data.has(P) && (cache.lost || !onlyLost)) storeCached(path, cache, *data.slot<P>());
    });
}

void FolderHostStore::check() {
    HostFileLock lock = lockFolder();
    std::lock_guard guard(mutex_);
    lost_.clear();
    HostData data([this](HostData& fetching, HostPart part) { fetch(fetching, part); });
    for (std::size_t part = 0; part < kHostPartCount; ++part) data.touch(static_cast<HostPart>(part));
    commit(data, true);
    // Every change is a new file renamed into place: the folder must take one.
    std::string probe = (folder_ / ".write-check-XXXXXX").string();
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) {
        throw HostError("cannot write in host folder " + folder_.string() + ": " +
                        std::error_code(errno, std::generic_category()).message());
    }
    ::close(fd);
    ::unlink(probe.c_str());
}

void FolderHostStore::transact(const std::function<void(HostData&)>& body) {
    HostFileLock lock = lockFolder();
    std::lock_guard guard(mutex_);
    lost_.clear();
    HostData data([this](HostData& fetching, HostPart part) { fetch(fetching, part); });
    body(data);
    commit(data);
}

void FolderHostStore::reset(const HostState& state) {
    HostFileLock lock = lockFolder();
    std::lock_guard guard(mutex_);
    HostState fresh = state;
    // Keep the generation growing so watchers see the change.
    try {
        if (const auto text = readHostFile(folder_ / kDisplaysFile)) {
            if (const auto pulse = pulseOfStateText(*text)) {
                fresh.generation = std::max(fresh.generation, pulse->generation + 1);
            }
        }
    } catch (const HostError&) {
        // Whatever is in the file's place is replaced below.
    }
    const auto previous = readFolderPulse(folder_, HostPulse{});
    writeText(folder_ / kFaultsFile, documentText(FaultRules{}.toJson()));
    appendLog({}, true);
    writeText(folder_ / kProcessesFile, documentText(ProcessTable{}.toJson()));
    WorkspaceState workspace;
    workspace.generation = previous.workspaceGeneration + 1;
    PowerState power;
    power.generation = previous.powerGeneration + 1;
    writeText(folder_ / kWorkspaceFile, documentText(workspace.toJson()));
    writeText(folder_ / kPowerFile, documentText(power.toJson()));
    WindowsState windows;
    windows.generation = previous.windowsGeneration + 1;
    writeText(folder_ / kWindowsFile, documentText(windows.toJson()));
    PermissionsState permissions;
    permissions.generation = previous.permissionsGeneration + 1;
    writeText(folder_ / kPermissionsFile, documentText(permissions.toJson()));
    writeText(folder_ / kDefaultsFile, documentText(DefaultsState{}.toJson()));
    AppearanceState appearance;
    appearance.generation = previous.appearanceGeneration + 1;
    writeText(folder_ / kAppearanceFile, documentText(appearance.toJson()));
    writeText(folder_ / kAnnouncementsFile, "");
    writeText(folder_ / kLaunchingFile, documentText(LaunchBehaviours{}.toJson()));
    // Notifications on their way to running programs stay; only a journal that cannot be
    // read starts afresh.
    try {
        if (const auto text = readHostFile(folder_ / kNotificationsFile)) NotificationJournal::fromJson(json::parse(*text));
    } catch (const std::exception&) {
        NotificationJournal journal;
        journal.generation = previous.notificationGeneration;
        writeText(folder_ / kNotificationsFile, documentText(journal.toJson()));
    }
    writeText(folder_ / kDisplaysFile, documentText(fresh.toJson()));
}

std::vector<ActionEntry> FolderHostStore::actionLog() {
    HostFileLock lock = lockFolder();
    std::lock_guard guard(mutex_);
    const auto path = folder_ / kActionLogFile;
    const auto text = readHostFile(path);
    if (!text) return {};
    try {
        return parseActionLog(*text);
    } catch (const json::DecodeError& error) {
        throw HostError("malformed host folder: " + path.string() + ": " + error.what());
    }
}

processes::ProcessIdentity FolderHostStore::newSessionIdentity() {
    try {
        return processes::currentProcessIdentity();
    } catch (const std::exception& error) {
        throw HostError(error.what());
    }
}

bool FolderHostStore::isAlive(const processes::ProcessIdentity& process) { return processes::isProcessAlive(process); }

HostSubscription FolderHostStore::onProcessEnd(const processes::ProcessIdentity& process,
                                               std::function<void()> ended) {
    std::shared_ptr<processes::ProcessExitWatcher> exits;
    {
        std::lock_guard lock(watcherMutex_);
        if (!exits_) exits_ = std::make_shared<processes::ProcessExitWatcher>();
        exits = exits_;
    }
    const auto id = exits->watch(process, std::move(ended));
    if (!id) return HostSubscription();
    std::weak_ptr<processes::ProcessExitWatcher> weak = exits;
    return HostSubscription([weak, id] {
        if (auto watcher = weak.lock()) watcher->unwatch(*id);
    });
}

HostSubscription FolderHostStore::subscribe(std::function<void(const HostPulse&)> listener) {
    std::lock_guard lock(watcherMutex_);
    if (!watcher_) watcher_ = std::make_shared<FolderWatcher>(folder_);
    const auto id = watcher_->addListener(std::move(listener));
    std::weak_ptr<FolderWatcher> weak = watcher_;
    return HostSubscription([weak, id] {
        if (auto watcher = weak.lock()) watcher->removeListener(id);
    });
}

}  // namespace dorvane::host
