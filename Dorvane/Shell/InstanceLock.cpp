#include "Dorvane/Shell/InstanceLock.h"

#include <cerrno>
#include <exception>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "DorvaneCore/Core/FitError.h"

namespace dorvane {

InstanceLock::InstanceLock(const std::filesystem::path& root) {
    std::filesystem::create_directories(root);
    const auto path = root / fileName;
    descriptor_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor_ < 0) {
        // Which folder, and why: "cannot" alone leaves the user nothing to act on.
        const std::string cause = std::error_code(errno, std::generic_category()).message();
        throw FitError::message(std::string(createFailedMessage) + root.string() + "：" + cause);
    }
    if (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        throw InstanceLockHeld(alreadyRunningMessage);
    }
}

bool InstanceLock::heldElsewhere(const std::filesystem::path& root) {
    try {
        InstanceLock probe(root);
        return false;
    } catch (const InstanceLockHeld&) {
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        ::flock(descriptor_, LOCK_UN);
        ::close(descriptor_);
    }
}

}  // namespace dorvane
