#include "Dorvane/Shell/AppUpdater.h"

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

std::optional<std::string> AppUpdater::feedURL(const std::filesystem::path& executable) {
    const auto info = executable.parent_path().parent_path() / "share" / "corvelle" / "Info.json";
    try {
        const auto text = readFileIfPresent(info);
        if (!text) return std::nullopt;
        const auto document = json::parse(*text);
        if (!document.is_object()) return std::nullopt;
        auto feed = json::getOptional<std::string>(document, "SUFeedURL");
        if (!feed || feed->empty()) return std::nullopt;
        return feed;
    } catch (const std::exception&) {
        return std::nullopt;  // an unreadable bundle declares nothing
    }
}

void AppUpdater::start() {
    if (controller_) return;
    const auto feed = feedURL(executable_);
    if (!feed) return;
    controller_ = factory_.startUpdater(*feed);
    controller_->setAutomaticallyChecksForUpdates(true);
    controller_->setUpdateCheckInterval(checkInterval);
    controller_->setAutomaticallyDownloadsUpdates(false);
}

void AppUpdater::checkForUpdates(const std::function<void()>& activate) {
    if (!controller_) return;
    if (activate) activate();
    controller_->checkForUpdates();
}

}  // namespace dorvane
