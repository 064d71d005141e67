#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "Platform/Host/Store/HostStore.h"

namespace dorvane::host {

// Watches a host folder with inotify on a thread of its own and tells its listeners
// the new pulse whenever "displays.json", "power.json", "workspace.json", "windows.json",
// "statusbar.json", "appearance.json", "notifications.json", "input.json" or
// "permissions.json" is replaced
// and the pulse changed, whoever replaced it. Reading needs no lock: the file is only ever replaced whole.
class FolderWatcher {
public:
    // Throws HostError when inotify is unavailable.
    explicit FolderWatcher(std::filesystem::path folder);
    ~FolderWatcher();

    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    std::uint64_t addListener(std::function<void(const HostPulse&)> listener);
    void removeListener(std::uint64_t id);

private:
    void run();
    void check();

    std::filesystem::path folder_;
    int inotify_ = -1;
    int stop_ = -1;       // eventfd that ends the thread
    HostPulse last_;
    std::mutex mutex_;
    std::condition_variable delivered_;  // a listener returned
    std::uint64_t running_ = 0;          // the listener being called now; 0 for none
    std::uint64_t nextListener_ = 1;
    std::map<std::uint64_t, std::function<void(const HostPulse&)>> listeners_;
    std::thread thread_;
};

}  // namespace dorvane::host
