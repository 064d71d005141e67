#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Dorvane/ShellBase/ApplicationPlatform.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/System/LoginItems.h"
#include "Platform/System/Updater.h"
#include "tests/Support/RecordingNeighbours.h"

namespace dorvane::testing {

class RecordingPlatform final : public ApplicationPlatform {
public:
    explicit RecordingPlatform(CallLog& log) : log_(log) {}
    void quit(int exitCode) override {
        log_.add("platform.quit " + std::to_string(exitCode));
        quits.push_back(exitCode);
    }
    void setAccessoryPolicy() override { log_.add("platform.setAccessoryPolicy"); }
    void applyTheme(AppTheme theme) override { log_.add("platform.applyTheme " + std::string(rawValue(theme))); }
    void activate() override { log_.add("platform.activate"); }
    bool hasImage(const std::string&) override { return artwork; }

    std::vector<int> quits;
    bool artwork = true;

private:
    CallLog& log_;
};

class RecordingSignals final : public TerminationSignals {
public:
    explicit RecordingSignals(CallLog& log) : log_(log) {}
    void install(std::function<void()> value) override {
        log_.add("signals.install");
        handler = std::move(value);
    }
    std::function<void()> handler;

private:
    CallLog& log_;
};

class FakeTrust final : public accessibility::ProcessTrust {
public:
    bool isProcessTrusted() override {
        if (failure) throw std::runtime_error(*failure);
        return trusted;
    }
    bool trusted = false;
    std::optional<std::string> failure;  // thrown, as by a host whose permissions file is damaged
};

class FakeLoginItems final : public system::LoginItems {
public:
    system::LoginItemStatus status() override { return value; }
    void registerItem() override { value = system::LoginItemStatus::enabled; }
    void unregisterItem() override { value = system::LoginItemStatus::notRegistered; }
    system::LoginItemStatus value = system::LoginItemStatus::notRegistered;
};

// Records what the updater is asked to do, in the shared log.
class RecordingUpdaterFactory final : public system::UpdaterFactory {
public:
    explicit RecordingUpdaterFactory(CallLog& log) : log_(log) {}
    std::unique_ptr<system::UpdaterController> startUpdater(const std::string& feed) override {
        log_.add("updater.start " + feed);
        return std::make_unique<Controller>(log_);
    }

private:
    class Controller final : public system::UpdaterController {
    public:
        explicit Controller(CallLog& log) : log_(log) {}
        void setAutomaticallyChecksForUpdates(bool on) override { log_.add("updater.automaticChecks " + onOff(on)); }
        void setUpdateCheckInterval(double seconds) override {
            log_.add("updater.interval " + std::to_string(static_cast<long long>(seconds)));
        }
        void setAutomaticallyDownloadsUpdates(bool on) override { log_.add("updater.automaticDownload " + onOff(on)); }
        void checkForUpdates() override { log_.add("updater.check"); }

    private:
        CallLog& log_;
    };
    CallLog& log_;
};

}  // namespace dorvane::testing
