#pragma once

#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dorvane::testing {

// Another process that holds a file's exclusive flock, as a process on a machine loaded far
// beyond its cores (or a stopped one) holds the host's lock: taken before the constructor
// returns, let go once `seconds` have passed or when release() or the destructor ends the
// process, whichever comes first.
class HeldLock {
public:
    HeldLock(const std::filesystem::path& file, double seconds) {
        // Everything the child needs is made before the fork: it may only call what is safe
        // in the child of a process with threads.
        const std::string path = file.string();
        const auto whole = static_cast<std::time_t>(seconds);
        const timespec hold{whole, static_cast<long>((seconds - static_cast<double>(whole)) * 1e9)};
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // A thread of the parent may have held the lock through a descriptor at the fork:
            // the child's copy would keep it held, and the child waiting for it would wait
            // for itself. It keeps only the descriptor it answers on.
            if (::dup2(ready[1], 3) != 3 || ::close_range(4, ~0U, 0) != 0) ::_exit(1);
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            const char byte = 1;
            if (::write(3, &byte, 1) != 1) ::_exit(1);
            timespec left = hold;
            while (::nanosleep(&left, &left) != 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        held_ = pid_ > 0 && ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    ~HeldLock() { release(); }

    // Whether the lock was taken.
    bool held() const { return held_; }

    void release() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

}  // namespace dorvane::testing
