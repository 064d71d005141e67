#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

// How the host treats the files of its folder: the folder must be the user's own and not
// writable by others, and no other user may change the folders on its way (see
// FolderWay.h), so nobody can put another folder in its place while a program uses it; a
// file in it is opened without following a link and without waiting (a named pipe in a
// file's place never blocks), and refused when it is not a regular file.

// Throws HostError, saying why in one line, when `folder` is not the user's own, others can
// write in it, or another user could change a folder or a link on its way.
void checkHostFolder(const std::filesystem::path& folder);

// Creates `folder` when missing, with the missing folders above it, each the user's alone
// (and nothing when another user could change the folder they would be made in), then
// checks it.
void prepareHostFolder(const std::filesystem::path& folder);

// Opens a file of the folder with `flags` (O_RDWR, O_WRONLY | O_APPEND, O_CREAT, O_TRUNC, …)
// as the host opens every file; new files get 0666 less the umask. Answers the descriptor
// (close-on-exec) or throws HostError "cannot open PATH: CAUSE".
int openHostFile(const std::filesystem::path& path, int flags);

// The file's text, or nothing when it does not exist; throws HostError "cannot read PATH: CAUSE".
std::optional<std::string> readHostFile(const std::filesystem::path& path);

// How long a lock held by another process is waited for, and how a pause is taken.
struct LockWait {
    // Holders let go within milliseconds, or within a few seconds on a machine loaded far
    // beyond its cores; a stopped one never does. Ten seconds outlast a busy machine, and a
    // display worker that waited that long still answers within its own bound (12 s),
    // saying why when it was held out rather than being ended as hung.
    static constexpr std::int64_t kPatienceMicroseconds = 10'000'000;
    // The interface thread's: it must not freeze for long.
    static constexpr std::int64_t kQuickPatienceMicroseconds = 1'000'000;
    std::int64_t patienceMicroseconds = kPatienceMicroseconds;
    std::function<void(std::int64_t microseconds)> pause;  // none: the thread sleeps
    // Tried once, without waiting: the lock is known to have been held for longer than the
    // patience already.
    bool once = false;
};

// The lock was held by another process for longer than the wait's patience.
class LockTimeout : public HostError, public BusyFailure {
public:
    using HostError::HostError;
};

// An exclusive flock on a lock file of the folder, held while this lives. Another process
// that holds it for longer than the wait's patience (a stopped one, say) makes the
// constructor throw LockTimeout "cannot lock PATH: another process has held it for over 10
// seconds" (the patience) rather than keep the caller waiting for as long as it holds it.
class HostFileLock {
public:
    HostFileLock(const std::filesystem::path& path, const LockWait& wait);
    HostFileLock(HostFileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    HostFileLock(const HostFileLock&) = delete;
    HostFileLock& operator=(const HostFileLock&) = delete;
    ~HostFileLock();  // closing releases the lock

private:
    int fd_ = -1;
};

// Replaces the files of a host folder (see writeFileAtomically); a seam for tests that
// look at what is written and how.
class HostFileWriter {
public:
    virtual ~HostFileWriter() = default;
    // Throws std::system_error and leaves the file as it was when the replacement fails.
    virtual void replace(const std::filesystem::path& path, std::string_view text, Durability durability) = 0;
};

std::shared_ptr<HostFileWriter> atomicHostFileWriter();

}  // namespace dorvane::host
