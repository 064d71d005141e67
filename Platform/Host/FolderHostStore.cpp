#include "Platform/Host/FolderHostStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <malloc.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/FolderPulse.h"
#include "Platform/Host/FolderWatcher.h"
#include "Platform/Host/HostError.h"
#include "Platform/Host/HostFixtures.h"
#include "Platform/Host/HostFolder.h"
#include "Platform/Host/HostMachine.h"

namespace dorvane::host {

namespace {

std::string errnoText(int code) { return std::error_code(code, std::generic_category()).message(); }

constexpr std::int64_t kLockPatienceMicroseconds = 1'000'000;
constexpr std::size_t kLargeFile = 1'000'000;
constexpr std::int64_t kFirstPauseMicroseconds = 250;
constexpr std::int64_t kLongestPauseMicroseconds = 10'000;

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

// Replaces `path` with `text` by rename from a temporary file in the same folder: readers
// see the old file or the new one, never a mixture; nothing waits for the disk.
void replaceByRename(const std::filesystem::path& path, const std::string& text) {
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "create temporary file for " + path.string());
    const char* cursor = text.data();
    std::size_t remaining = text.size();
    int failure = 0;
    while (remaining > 0 && failure == 0) {
        const ssize_t written = ::write(fd, cursor, remaining);
        if (written < 0) {
            if (errno != EINTR) failure = errno;
            continue;
        }
        cursor += written;
        remaining -= static_cast<std::size_t>(written);
    }
    if (::fchmod(fd, 0644) != 0 && failure == 0) failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        throw std::system_error(failure, std::generic_category(), "write " + path.string());
    }
}

// The exclusive lock of the whole folder, held for one access. Another process that holds
// it for long (a stopped one, say) makes the access fail after about a second rather than
// keep the caller, often the main thread, waiting for as long as it holds it.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder) {
        const auto path = folder / kLockFile;
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) throw HostError("cannot open " + path.string() + ": " + errnoText(errno));
        // Short waits first, as holders usually let go within a millisecond or two.
        std::int64_t waited = 0;
        std::int64_t pause = kFirstPauseMicroseconds;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            if (code == EINTR) continue;
            if (code != EWOULDBLOCK || waited >= kLockPatienceMicroseconds) {
                ::close(fd_);
                throw HostError(code == EWOULDBLOCK
                                    ? "cannot lock " + path.string() + ": another process has held it for over a second"
                                    : "cannot lock " + path.string() + ": " + errnoText(code));
            }
            ::usleep(static_cast<useconds_t>(pause));
            waited += pause;
            pause = std::min(pause * 2, kLongestPauseMicroseconds);
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() { ::close(fd_); }  // closing releases the lock

private:
    int fd_ = -1;
};

std::optional<std::string> readText(const std::filesystem::path& path) {
    try {
        return readFileIfPresent(path);
    } catch (const std::system_error& error) {
        // A folder, a pipe or a device in a file's place says so, not "Invalid argument".
        std::error_code ignored;
        const auto status = std::filesystem::status(path, ignored);
        const bool irregular = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
        throw HostError("cannot read " + path.string() + ": " +
                        (irregular ? std::string("not a regular file") : error.code().message()));
    }
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    try {
        if (standsForMemory(path)) {
            replaceByRename(path, text);
        } else {
            writeFileAtomically(path, text);
        }
    } catch (const std::system_error& error) {
        throw HostError("cannot write " + path.string() + ": " + error.code().message());
    }
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

// Decodes a file; the parsed document goes as soon as the value is made.
template <typename T>
T decodeFile(const std::filesystem::path& path, const std::string& text) {
    try {
        return T::fromJson(parseDocument<T>(text));
    } catch (const json::DecodeError& error) {
        // An empty file is what a replacement cut short by a power loss leaves.
        const std::string what = text.empty() ? "the file is empty" : error.what();
        throw HostError("malformed host folder: " + path.string() + ": " + what +
                        " (run \"corvelle-host init\" to start over)");
    }
}

void appendLog(const std::filesystem::path& path, const std::vector<ActionEntry>& entries, bool truncate) {
    std::string text;
    for (const auto& entry : entries) text += json::serialize(entry.toJson()) + "\n";
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (truncate ? O_TRUNC : 0);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) throw HostError("cannot open " + path.string() + ": " + errnoText(errno));
    const char* cursor = text.data();
    std::size_t remaining = text.size();
    while (remaining > 0) {
        const ssize_t written = ::write(fd, cursor, remaining);
        if (written < 0) {
            if (errno == EINTR) continue;
            const int code = errno;
            ::close(fd);
            throw HostError("cannot append to " + path.string() + ": " + errnoText(code));
        }
        cursor += written;
        remaining -= static_cast<std::size_t>(written);
    }
    ::close(fd);
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

// The file's value, from the cache while the file is unchanged. False when it does not exist.
template <typename T>
bool loadCached(const std::filesystem::path& path, FolderHostStore::CachedFile<T>& cache) {
    const auto stamp = fileStamp(path);
    if (!stamp) {
        cache.stamp.reset();
        return false;
    }
    if (cache.stamp == stamp) return true;
    const auto text = readText(path);
    if (!text) {
        cache.stamp.reset();
        return false;
    }
    cache.stamp.reset();  // a decoding failure leaves nothing cached
    cache.value = decodeFile<T>(path, *text);
    cache.stamp = stamp;
    afterLargeText(text->size());
    return true;
}

// Writes the value when it changed, and remembers what is now on disk.
template <typename T>
void storeCached(const std::filesystem::path& path, FolderHostStore::CachedFile<T>& cache, const T& value) {
    // Most accesses only read; comparing values is far cheaper than encoding them.
    if (cache.stamp && value == cache.value) return;
    const std::string text = fileText<T>(value.toJson());
    writeText(path, text);
    cache.value = value;
    cache.stamp = fileStamp(path);
    afterLargeText(text.size());
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                     static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

FolderHostStore::FolderHostStore(std::filesystem::path folder)
    : folder_(std::move(folder)), delivered_(std::make_unique<FileDeliveredEventLog>(folder_ / kDeliveredEventsFile)) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error || !std::filesystem::is_directory(folder_)) {
        throw HostError("cannot create host folder " + folder_.string() +
                        (error ? ": " + error.message() : ": not a folder"));
    }
}

FolderHostStore::~FolderHostStore() {
    std::lock_guard lock(watcherMutex_);
    watcher_.reset();
    exits_.reset();
}

template <typename Visit>
void FolderHostStore::forEachServiceFile(HostData& data, Visit&& visit) {
    visit(folder_ / kPowerFile, powerCache_, data.power);
    visit(folder_ / kProcessesFile, processesCache_, data.processes);
    visit(folder_ / kWorkspaceFile, workspaceCache_, data.workspace);
    visit(folder_ / kWindowsFile, windowsCache_, data.windows);
    visit(folder_ / kPermissionsFile, permissionsCache_, data.permissions);
    visit(folder_ / kInputFile, inputCache_, data.input);
    visit(folder_ / kStatusBarFile, statusBarCache_, data.statusBar);
    visit(folder_ / kDefaultsFile, defaultsCache_, data.defaults);
    visit(folder_ / kAppearanceFile, appearanceCache_, data.appearance);
    visit(folder_ / kNotificationsFile, notificationsCache_, data.notifications);
    visit(folder_ / kAnnouncementsFile, announcementsCache_, data.announcements);
    visit(folder_ / kLaunchingFile, launchingCache_, data.launching);
}

HostData FolderHostStore::load() {
    HostData data;
    if (loadCached(folder_ / kDisplaysFile, stateCache_)) {
        data.state = stateCache_.value;
    } else {
        data.state = makeFixture(HostFixture::laptop);
    }
    if (loadCached(folder_ / kFaultsFile, faultsCache_)) data.faults = faultsCache_.value;
    // The other services' files, each read only when it changed since this process last saw it.
    forEachServiceFile(data, [](const std::filesystem::path& path, auto& cache, auto& field) {
        if (loadCached(path, cache)) field = cache.value;
    });
    return data;
}

void FolderHostStore::check() {
    std::lock_guard guard(mutex_);
    FolderLock lock(folder_);
    (void)load();
    // Every change is a new file renamed into place: the folder must take one.
    std::string probe = (folder_ / ".write-check-XXXXXX").string();
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) throw HostError("cannot write in host folder " + folder_.string() + ": " + errnoText(errno));
    ::close(fd);
    ::unlink(probe.c_str());
}

void FolderHostStore::transact(const std::function<void(HostData&)>& body) {
    std::lock_guard guard(mutex_);
    FolderLock lock(folder_);
    const auto statePath = folder_ / kDisplaysFile;
    const auto faultsPath = folder_ / kFaultsFile;

    HostData data = load();
    body(data);

    storeCached(faultsPath, faultsCache_, data.faults);
    if (!data.appended.empty()) appendLog(folder_ / kActionLogFile, data.appended, false);
    forEachServiceFile(data, [](const std::filesystem::path& path, auto& cache, const auto& field) {
        storeCached(path, cache, field);
    });
    // Written last: watchers read this file, and by then the rest is in place.
    storeCached(statePath, stateCache_, data.state);
}

void FolderHostStore::reset(const HostState& state) {
    std::lock_guard guard(mutex_);
    FolderLock lock(folder_);
    HostState fresh = state;
    // Keep the generation growing so watchers see the change.
    if (const auto text = readText(folder_ / kDisplaysFile)) {
        if (const auto pulse = pulseOfStateText(*text)) fresh.generation = std::max(fresh.generation, pulse->generation + 1);
    }
    const auto previous = readFolderPulse(folder_, HostPulse{});
    writeText(folder_ / kFaultsFile, documentText(FaultRules{}.toJson()));
    appendLog(folder_ / kActionLogFile, {}, true);
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
        if (const auto text = readText(folder_ / kNotificationsFile)) NotificationJournal::fromJson(json::parse(*text));
    } catch (const json::DecodeError&) {
        NotificationJournal journal;
        journal.generation = previous.notificationGeneration;
        writeText(folder_ / kNotificationsFile, documentText(journal.toJson()));
    }
    writeText(folder_ / kDisplaysFile, documentText(fresh.toJson()));
}

std::vector<ActionEntry> FolderHostStore::actionLog() {
    std::lock_guard guard(mutex_);
    FolderLock lock(folder_);
    const auto path = folder_ / kActionLogFile;
    const auto text = readText(path);
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
