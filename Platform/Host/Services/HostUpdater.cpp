#include "Platform/Host/Services/HostUpdater.h"

namespace dorvane::host {

namespace {

class HostUpdater final : public system::UpdaterController {
public:
    HostUpdater(std::shared_ptr<HostSession> session, std::string feed) : session_(std::move(session)), feed_(std::move(feed)) {
        record("updater-start", {{"feed", feed_}});
    }

    void setAutomaticallyChecksForUpdates(bool on) override { record("updater-settings", {{"automaticChecks", on}}); }
    void setUpdateCheckInterval(double seconds) override { record("updater-settings", {{"checkInterval", seconds}}); }
    void setAutomaticallyDownloadsUpdates(bool on) override {
        record("updater-settings", {{"automaticDownload", on}});
    }
    void checkForUpdates() override { record("updater-check", {{"feed", feed_}}); }

private:
    void record(const char* action, json::Json details) {
        try {
            session_->access([&](HostData& data) { data.record(session_->actor(), action, details); });
        } catch (const std::exception&) {
            // An updater that cannot reach its host simply does nothing.
        }
    }

    std::shared_ptr<HostSession> session_;
    std::string feed_;
};

}  // namespace

std::unique_ptr<system::UpdaterController> HostUpdaterFactory::startUpdater(const std::string& feedURL) {
    return std::make_unique<HostUpdater>(session_, feedURL);
}

}  // namespace dorvane::host
