#pragma once

#include <memory>
#include <string>

namespace dorvane::system {

// The standard updater of an installed program that declares an update feed.
class UpdaterController {
public:
    virtual ~UpdaterController() = default;
    virtual void setAutomaticallyChecksForUpdates(bool on) = 0;
    virtual void setUpdateCheckInterval(double seconds) = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool on) = 0;
    // Checks the feed now, with the updater's own user interface.
    virtual void checkForUpdates() = 0;
};

// Starts an updater for a feed.
class UpdaterFactory {
public:
    virtual ~UpdaterFactory() = default;
    virtual std::unique_ptr<UpdaterController> startUpdater(const std::string& feedURL) = 0;
};

}  // namespace dorvane::system
