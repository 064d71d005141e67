#include "Dorvane/Engine/ProcessRunner.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/UUID.h"
#include "DorvaneCore/Support/UnicodeText.h"

extern char** environ;

namespace dorvane {

namespace {

namespace fs = std::filesystem;

// A child that was held out (what it says is the busy text) failed for the wait alone: its
// parent can tell, and try the same work again once the host lets go.
class HeldOutChild final : public FitError, public BusyFailure {
public:
    HeldOutChild() : FitError(kBusyText) {}
};

[[noreturn]] void throwErrno(int code, const std::string& what) {
    throw std::system_error(code, std::generic_category(), what);
}

void writeWhole(const fs::path& path, const std::string& contents) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throwErrno(errno, "create " + path.string());
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t count = ::write(fd, contents.data() + written, contents.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            throwErrno(error, "write " + path.string());
        }
        written += static_cast<std::size_t>(count);
    }
    ::close(fd);
}

std::optional<std::string> readWhole(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return std::nullopt;
    std::ostringstream contents;
    contents << stream.rdbuf();
    if (stream.bad()) return std::nullopt;
    return contents.str();
}

// Holds the folder's lock while the run lasts, so that no start of the program takes it
// for a leftover; closes the stream handles (stdout, stderr, stdin) and removes the folder,
// on every way out. A process killed meanwhile drops the lock with it.
class RunFolder {
public:
    explicit RunFolder(fs::path folder)
        : folder_(std::move(folder)), lockFd_(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (lockFd_ >= 0) ::flock(lockFd_, LOCK_EX | LOCK_NB);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    ~RunFolder() {
        closeHandles();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        if (lockFd_ >= 0) ::close(lockFd_);
    }

    const fs::path& path() const { return folder_; }
    int stdoutFd = -1;
    int stderrFd = -1;
    int stdinFd = -1;

    void closeHandles() {
        for (int* fd : {&stdoutFd, &stderrFd, &stdinFd}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }

private:
    fs::path folder_;
    int lockFd_;
};

constexpr std::string_view folderPrefix = "Dorvane-";

// "Dorvane-" and an upper-case UUID: the name of a run's folder.
bool namesRunFolder(const std::string& name) {
    if (!name.starts_with(folderPrefix) || name.size() != folderPrefix.size() + 36) return false;
    for (std::size_t index = 0; index < 36; ++index) {
        const char c = name[folderPrefix.size() + index];
        const bool dash = index == 8 || index == 13 || index == 18 || index == 23;
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

// Removes one run folder when it is this user's own, old enough, and no run holds it.
bool removeIfAbandoned(const fs::path& folder, std::chrono::system_clock::time_point now, double minimumAge) {
    struct stat named {};
    if (::lstat(folder.c_str(), &named) != 0 || !S_ISDIR(named.st_mode) || named.st_uid != ::geteuid()) return false;
    const auto modified = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(named.st_mtim.tv_sec) + std::chrono::nanoseconds(named.st_mtim.tv_nsec)));
    if (now - modified < std::chrono::duration<double>(minimumAge)) return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev) {
        std::error_code error;
        fs::remove_all(folder, error);
        removed = !error;
    }
    ::close(fd);
    return removed;
}

int openStream(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) throwErrno(errno, "open " + path.string());
    return fd;
}

pid_t launch(const std::string& executable, const std::vector<std::string>& arguments, const RunFolder& folder) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);

    posix_spawn_file_actions_adddup2(&actions, folder.stdinFd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, folder.stdoutFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, folder.stderrFd, STDERR_FILENO);
    // Whatever a library of ours left open without close-on-exec stays with us.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    // The parent ignores and blocks signals of its own; the child must not inherit that.
    sigset_t everything;
    sigset_t none;
    sigfillset(&everything);
    sigdelset(&everything, SIGKILL);
    sigdelset(&everything, SIGSTOP);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &everything);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> argvStorage;
    argvStorage.push_back(executable);
    argvStorage.insert(argvStorage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : argvStorage) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int result = ::posix_spawn(&pid, executable.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) throwErrno(result, "launch " + executable);
    return pid;
}

// The exit status of a reaped child; a child killed by a signal reports 128 + signal.
int exitStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 255;
}

// Waits for the child (or only looks, with WNOHANG); its status once it has exited.
std::optional<int> reap(pid_t pid, int options) {
    int status = 0;
    for (;;) {
        const pid_t result = ::waitpid(pid, &status, options);
        if (result == 0) return std::nullopt;
        if (result < 0 && errno == EINTR) continue;
        if (result < 0) return 255;  // someone else reaped it; report a failure, never success
        return exitStatus(status);
    }
}

std::optional<int> reapIfExited(pid_t pid) { return reap(pid, WNOHANG); }

}  // namespace

std::string ProcessRunner::run(const std::string& executable, const std::vector<std::string>& arguments,
                               const std::optional<std::string>& input, double timeout, dispatch::Clock& clock) {
    return run(executable, arguments, input, timeout, clock, fs::temp_directory_path());
}

std::string ProcessRunner::run(const std::string& executable, const std::vector<std::string>& arguments,
                               const std::optional<std::string>& input, double timeout, dispatch::Clock& clock,
                               const fs::path& temporaryRoot) {
    const fs::path folderPath = temporaryRoot / (std::string(folderPrefix) + makeUUIDString());
    fs::create_directories(temporaryRoot);
    if (::mkdir(folderPath.c_str(), 0700) != 0) throwErrno(errno, "create " + folderPath.string());
    RunFolder folder(folderPath);

    writeWhole(folder.path() / "stdout", "");
    writeWhole(folder.path() / "stderr", "");
    writeWhole(folder.path() / "stdin", input.value_or(""));
    folder.stdoutFd = openStream(folder.path() / "stdout", O_WRONLY);
    folder.stderrFd = openStream(folder.path() / "stderr", O_WRONLY);
    folder.stdinFd = openStream(folder.path() / "stdin", O_RDONLY);

    const pid_t pid = launch(executable, arguments, folder);

    // A pidfd lets a real clock end a poll's pause as soon as the child exits; the
    // polls and the deadline stay exactly as they are without one.
    const int exitSignal = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    std::optional<int> status = reapIfExited(pid);
    if (!status) {
        const double deadline = clock.uptime() + timeout;
        while (!status) {
            if (clock.uptime() >= deadline) break;
            if (exitSignal >= 0) {
                clock.sleepUnlessReadable(exitSignal, std::min(pollInterval, deadline - clock.uptime()));
            } else {
                clock.sleep(pollInterval);
            }
            status = reapIfExited(pid);
        }
    }
    if (exitSignal >= 0) ::close(exitSignal);
    if (!status) {
        ::kill(pid, SIGTERM);
        clock.sleep(terminateGrace);
        if (!reapIfExited(pid)) {
            ::kill(pid, SIGKILL);
            reap(pid, 0);
        }
        throw FitError::message("操作超时：" + fs::path(executable).filename().string());
    }

    folder.closeHandles();
    if (*status != 0) {
        throwChildFailure(*status, readWhole(folder.path() / "stderr").value_or(""));
    }
    auto output = readWhole(folder.path() / "stdout");
    if (!output) throwErrno(EIO, "read " + (folder.path() / "stdout").string());
    return *output;
}

void ProcessRunner::throwChildFailure(int status, const std::string& errors) {
    const std::string errorText = text::prefixGraphemes(text::sanitizedUTF8(errors), errorTextLimit);
    if (errorText == kBusyText) throw HeldOutChild();
    throw FitError::message(text::isBlank(errorText) ? "操作失败（" + std::to_string(status) + "）" : errorText);
}

std::size_t ProcessRunner::removeAbandonedFolders(const fs::path& temporaryRoot,
                                                  std::chrono::system_clock::time_point now, double minimumAge) {
    std::size_t removed = 0;
    std::error_code error;
    for (fs::directory_iterator entry(temporaryRoot, error), end; !error && entry != end; entry.increment(error)) {
        if (!namesRunFolder(entry->path().filename().string())) continue;
        if (removeIfAbandoned(entry->path(), now, minimumAge)) ++removed;
    }
    return removed;
}

}  // namespace dorvane
