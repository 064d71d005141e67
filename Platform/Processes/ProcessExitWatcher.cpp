#include "Platform/Processes/ProcessExitWatcher.h"

#include <cerrno>
#include <condition_variable>
#include <thread>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace dorvane::processes {

namespace {

int openPidfd(std::int32_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    errno = ENOSYS;
    return -1;
#endif
}

}  // namespace

struct ProcessExitWatcher::Shared {
    struct Entry {
        int fd = -1;
        std::function<void()> ended;
    };

    Shared() {
        wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd < 0) throw std::runtime_error("eventfd: " + std::string(std::strerror(errno)));
    }
    ~Shared() {
        for (auto& [id, entry] : entries) ::close(entry.fd);
        ::close(wakeFd);
    }

    // The set of watches changed, or it is time to end.
    void wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
    }

    void run() {
        {
            std::lock_guard lock(mutex);
            threadID = std::this_thread::get_id();
        }
        for (;;) {
            std::vector<pollfd> fds;
            std::vector<std::uint64_t> ids;
            {
                std::lock_guard lock(mutex);
                if (stopping) return;
                fds.push_back({wakeFd, POLLIN, 0});
                for (const auto& [id, entry] : entries) {
                    fds.push_back({entry.fd, POLLIN, 0});
                    ids.push_back(id);
                }
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[0].revents != 0) {
                std::uint64_t count = 0;
                [[maybe_unused]] const auto read = ::read(wakeFd, &count, sizeof count);
            }
            // Ended watches wait in `pending` until their turn, so unwatch() can still
            // withdraw them; `running` names the one being called.
            std::vector<std::uint64_t> due;
            {
                std::lock_guard lock(mutex);
                for (std::size_t index = 1; index < fds.size(); ++index) {
                    if (fds[index].revents == 0) continue;
                    const auto found = entries.find(ids[index - 1]);
                    if (found == entries.end()) continue;  // unwatched meanwhile
                    ::close(found->second.fd);
                    pending.emplace(found->first, std::move(found->second.ended));
                    due.push_back(found->first);
                    entries.erase(found);
                }
            }
            for (const auto id : due) {
                std::function<void()> ended;
                {
                    std::lock_guard lock(mutex);
                    if (stopping) return;  // destroyed by an earlier callback
                    const auto found = pending.find(id);
                    if (found == pending.end()) continue;  // unwatched meanwhile
                    ended = std::move(found->second);
                    pending.erase(found);
                    running = id;
                }
                ended();
                ended = nullptr;  // its captures go before unwatch() may return
                {
                    std::lock_guard lock(mutex);
                    running = 0;
                }
                finished.notify_all();
            }
        }
    }

    int wakeFd = -1;
    std::mutex mutex;
    std::condition_variable finished;  // a callback returned
    std::uint64_t running = 0;          // the watch whose callback runs now; 0 for none
    std::thread::id threadID;
    bool stopping = false;
    std::uint64_t nextID = 1;
    std::map<std::uint64_t, Entry> entries;
    std::map<std::uint64_t, std::function<void()>> pending;  // ended, callback not yet started
};

ProcessExitWatcher::ProcessExitWatcher() : shared_(std::make_shared<Shared>()) {
    thread_ = std::thread([shared = shared_] { shared->run(); });
}

ProcessExitWatcher::~ProcessExitWatcher() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake();
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();  // destroyed from a callback: the thread ends on its own
    } else {
        thread_.join();
    }
}

std::optional<std::uint64_t> ProcessExitWatcher::watch(const ProcessIdentity& process, std::function<void()> ended) {
    const int fd = openPidfd(process.pid);
    if (fd < 0) {
        if (errno == ESRCH) ended();
        return std::nullopt;  // otherwise no pidfd here: nobody can be told
    }
    // Checked after opening: the descriptor pins this pid, so a process that is alive
    // now is the one the descriptor watches.
    if (!isProcessAlive(process)) {
        ::close(fd);
        ended();
        return std::nullopt;
    }
    std::uint64_t id = 0;
    {
        std::lock_guard lock(shared_->mutex);
        id = shared_->nextID++;
        shared_->entries.emplace(id, Shared::Entry{fd, std::move(ended)});
    }
    shared_->wake();
    return id;
}

void ProcessExitWatcher::unwatch(std::uint64_t id) {
    std::function<void()> withdrawn;  // destroyed after the lock is released
    {
        std::unique_lock lock(shared_->mutex);
        const auto found = shared_->entries.find(id);
        if (found == shared_->entries.end()) {
            if (const auto due = shared_->pending.find(id); due != shared_->pending.end()) {
                withdrawn = std::move(due->second);
                shared_->pending.erase(due);
                return;
            }
            // Its callback may be running: wait for it, so nothing of the watch outlives
            // this call (unless called from that callback, which cannot wait for itself).
            if (std::this_thread::get_id() != shared_->threadID) {
                shared_->finished.wait(lock, [&] { return shared_->running != id; });
            }
            return;
        }
        ::close(found->second.fd);
        shared_->entries.erase(found);
    }
    shared_->wake();
}

}  // namespace dorvane::processes
