#include "Platform/Host/Services/HostInstalledApplications.h"

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FailureText.h"
#include "Platform/Host/Services/ApplicationLocation.h"
#include "Platform/Host/Machines/BundleLaunch.h"
#include "Platform/Host/Machines/BundleReader.h"

namespace dorvane::host {

std::vector<std::string> HostInstalledApplications::applicationFolders() { return folders_.searchFolders(); }

std::vector<std::string> HostInstalledApplications::bundlesIn(const std::string& folder) {
    return bundlesInFolder(folders_, folder);
}

std::optional<ApplicationBundle> HostInstalledApplications::readBundle(const std::string& path) {
    auto contents = readBundleContents(folders_, path);
    if (!contents) return std::nullopt;
    return std::move(contents->bundle);
}

std::optional<std::string> HostInstalledApplications::applicationPath(const std::string& bundleIdentifier) {
    try {
        return applicationLocation(*session_, folders_, bundleIdentifier);
    } catch (const std::exception&) {
        return std::nullopt;  // the host cannot be read: nothing is known
    }
}

std::filesystem::path HostInstalledApplications::iconFile(const std::string& bundlePath) {
    const auto disk = folders_.onDisk(bundlePath);
    return disk ? *disk / kBundleIconFile : std::filesystem::path();
}

dispatch::Executor& HostInstalledApplications::launchQueue() {
    if (launchQueue_ != nullptr) return *launchQueue_;
    std::lock_guard lock(queueMutex_);
    if (!ownQueue_) ownQueue_ = std::make_unique<dispatch::SerialQueue>("launch");
    return *ownQueue_;
}

void HostInstalledApplications::openApplication(
    const std::string& path, bool activates, std::function<void(const workspace::OpenApplicationResult&)> completion) {
    const std::string bundlePath = standardizedPath(path);
    double delay = kDefaultLaunchDelay;
    try {
        session_->access([&](HostData& data) { delay = data.launching().of(bundlePath).launchDelay(); });
    } catch (const std::exception&) {
        // The launch itself will say what is wrong.
    }
    launchQueue().postAfter(delay, [session = session_, folders = folders_, bundlePath, activates,
                                    completion = std::move(completion)] {
        workspace::OpenApplicationResult result;
        try {
            session->access([&](HostData& data) {
                result = openBundle(data, session->actor(), folders, bundlePath, activates);
            });
        } catch (const BusyFailure&) {
            // Held out by another program: the application may well open a moment later.
            result = {std::nullopt, kBusyText};
        } catch (const std::exception&) {
            result = {std::nullopt, applicationCannotOpenText(fileStem(bundlePath))};
        }
        completion(result);
    });
}

}  // namespace dorvane::host
