#include "Platform/Host/Store/FolderWatcher.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/Store/FolderPulse.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"

namespace dorvane::host {

namespace {

// The files whose replacement can change the pulse.
bool isWatchedFile(const char* name) {
    return std::strcmp(name, kDisplaysFile) == 0 || std::strcmp(name, kPowerFile) == 0 ||
           std::strcmp(name, kWorkspaceFile) == 0 || std::strcmp(name, kWindowsFile) == 0 ||
           std::strcmp(name, kStatusBarFile) == 0 || std::strcmp(name, kAppearanceFile) == 0 ||
           std::strcmp(name, kNotificationsFile) == 0 || std::strcmp(name, kInputFile) == 0 ||
           std::strcmp(name, kPermissionsFile) == 0;
}

}  // namespace

FolderWatcher::FolderWatcher(std::filesystem::path folder) : folder_(std::move(folder)) {
    inotify_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify_ < 0) throw HostError("inotify unavailable: " + std::string(std::strerror(errno)));
    if (::inotify_add_watch(inotify_, folder_.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
        const int code = errno;
        ::close(inotify_);
        throw HostError("cannot watch " + folder_.string() + ": " + std::strerror(code));
    }
    stop_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stop_ < 0) {
        const int code = errno;
        ::close(inotify_);
        throw HostError("eventfd: " + std::string(std::strerror(code)));
    }
    last_ = readFolderPulse(folder_, HostPulse{});
    thread_ = std::thread([this] { run(); });
}

FolderWatcher::~FolderWatcher() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(stop_, &one, sizeof one);
    thread_.join();
    ::close(stop_);
    ::close(inotify_);
}

std::uint64_t FolderWatcher::addListener(std::function<void(const HostPulse&)> listener) {
    std::lock_guard lock(mutex_);
    const auto id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void FolderWatcher::removeListener(std::uint64_t id) {
    std::unique_lock lock(mutex_);
    listeners_.erase(id);
    // A listener running now finishes before its owner goes on (unless it removes itself).
    if (std::this_thread::get_id() != thread_.get_id()) {
        delivered_.wait(lock, [&] { return running_ != id; });
    }
}

void FolderWatcher::run() {
    std::vector<char> buffer(16 * 1024);
    for (;;) {
        pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        bool relevant = false;
        for (;;) {
            const ssize_t length = ::read(inotify_, buffer.data(), buffer.size());
            if (length <= 0) break;
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
                if (event->len > 0 && isWatchedFile(event->name)) relevant = true;
                if ((event->mask & IN_Q_OVERFLOW) != 0) relevant = true;
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        if (relevant) check();
    }
}

void FolderWatcher::check() {
    const HostPulse pulse = readFolderPulse(folder_, last_);
    if (pulse == last_) return;
    last_ = pulse;
    std::vector<std::uint64_t> ids;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, listener] : listeners_) ids.push_back(id);
    }
    for (const auto id : ids) {
        std::function<void(const HostPulse&)> listener;
        {
            std::lock_guard lock(mutex_);
            const auto found = listeners_.find(id);
            if (found == listeners_.end()) continue;  // removed meanwhile
            listener = found->second;
            running_ = id;
        }
        listener(pulse);
        listener = nullptr;  // its captures go before removeListener() may return
        {
            std::lock_guard lock(mutex_);
            running_ = 0;
        }
        delivered_.notify_all();
    }
}

}  // namespace dorvane::host
