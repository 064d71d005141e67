#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Platform/System/Updater.h"

namespace dorvane {

// The program's updater: only an installed program whose "share/corvelle/Info.json"
// declares "SUFeedURL" has one; anywhere else (the build tree, a copied binary)
// "检查更新…" does nothing.
class AppUpdater {
public:
    static constexpr double checkInterval = 10800;

    AppUpdater(std::filesystem::path executable, system::UpdaterFactory& factory)
        : executable_(std::move(executable)), factory_(factory) {}

    // Starts the updater once: automatic checks every 3 hours, no automatic download.
    void start();
    // Brings the program to the front (for the updater's windows) and checks now; does
    // nothing without an updater.
    void checkForUpdates(const std::function<void()>& activate);
    bool isStarted() const { return static_cast<bool>(controller_); }

    // "<executable's folder>/../share/corvelle/Info.json"'s "SUFeedURL", when that file
    // exists and holds a non-empty text there.
    static std::optional<std::string> feedURL(const std::filesystem::path& executable);

private:
    std::filesystem::path executable_;
    system::UpdaterFactory& factory_;
    std::unique_ptr<system::UpdaterController> controller_;
};

}  // namespace dorvane
