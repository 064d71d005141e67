#pragma once

#include <filesystem>

#include "DorvaneCore/Core/FitError.h"

namespace dorvane {

// Another process holds the lock: the one failure that is no fault of this process.
class InstanceLockHeld : public FitError {
public:
    using FitError::FitError;
};

// At most one running instance per user: an exclusive flock on
// "<support folder>/instance.lock", held for the life of the object. The file is
// never written or deleted; the descriptor is close-on-exec so worker children
// never hold the lock on our behalf.
class InstanceLock {
public:
    static constexpr const char* fileName = "instance.lock";
    static constexpr const char* createFailedMessage = "无法创建应用运行锁。";
    static constexpr const char* alreadyRunningMessage = "Corvelle 已在运行中，请在顶部菜单栏查看对应图标。";

    // Throws InstanceLockHeld when another process holds the lock, std::filesystem::
    // filesystem_error when the folder cannot be made, FitError when the file cannot:
    // createFailedMessage followed by the folder, "：" and the cause.
    explicit InstanceLock(const std::filesystem::path& root);
    ~InstanceLock();

    // Whether another holder has the lock now: tries it and, when it is free, lets it go at
    // once. False also when the folder or the file cannot be made; whoever then takes the
    // lock for good says why.
    static bool heldElsewhere(const std::filesystem::path& root);

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    int descriptor() const { return descriptor_; }

private:
    int descriptor_ = -1;
};

}  // namespace dorvane
