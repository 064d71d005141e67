#pragma once

#include <memory>
#include <mutex>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Host/Machines/ApplicationFolders.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane::host {

// Where a host's application bundles are, and where openings wait out their launch delay.
struct ApplicationsSetup {
    ApplicationFolders folders;                 // none: no application folders at all
    dispatch::Executor* launchQueue = nullptr;  // none: a thread made on the first opening
};

// The simulated machine's installed applications: bundle folders on disk (see
// ApplicationFolders), read as they are at each call. Opening waits out the bundle's
// launch delay on `launchQueue` (a queue of its own, made on the first opening, when
// none is given), then launches under the host's lock and completes there.
class HostInstalledApplications final : public workspace::InstalledApplications {
public:
    HostInstalledApplications(std::shared_ptr<HostSession> session, ApplicationFolders folders,
                              dispatch::Executor* launchQueue = nullptr)
        : session_(std::move(session)), folders_(std::move(folders)), launchQueue_(launchQueue) {}

    std::vector<std::string> applicationFolders() override;
    std::vector<std::string> bundlesIn(const std::string& folder) override;
    std::optional<ApplicationBundle> readBundle(const std::string& path) override;
    std::optional<std::string> applicationPath(const std::string& bundleIdentifier) override;
    std::filesystem::path iconFile(const std::string& bundlePath) override;
    void openApplication(const std::string& path, bool activates,
                         std::function<void(const workspace::OpenApplicationResult&)> completion) override;

    const ApplicationFolders& folders() const { return folders_; }

private:
    dispatch::Executor& launchQueue();

    std::shared_ptr<HostSession> session_;
    ApplicationFolders folders_;
    dispatch::Executor* launchQueue_;
    std::mutex queueMutex_;
    std::unique_ptr<dispatch::SerialQueue> ownQueue_;
};

}  // namespace dorvane::host
