#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Workspace/OwnWindows.h"

namespace dorvane::host {

// The program's own windows in the simulated window list, under this session's process.
class HostOwnWindows final : public workspace::OwnWindows {
public:
    HostOwnWindows(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> journal,
                   std::shared_ptr<HostEvents> events)
        : session_(std::move(session)), journal_(std::move(journal)), events_(std::move(events)) {}

    void registerApplication(const std::string& name, const std::optional<std::string>& bundleID) override;
    std::uint32_t addWindow(const workspace::OwnWindow& window) override;
    bool updateWindow(std::uint32_t number, const workspace::OwnWindow& window) override;
    bool removeWindow(std::uint32_t number) override;
    bool activateWindow(std::uint32_t number) override;
    bool makeKey(std::uint32_t number) override;
    workspace::OwnActivation activation() override;
    dispatch::Observation observeActivation(std::function<void(const workspace::OwnActivation&)> handler) override;
    dispatch::Observation observeClicks(std::function<void(const workspace::OwnWindowClick&)> handler) override;
    dispatch::Observation observeRemovals(std::function<void(std::uint32_t window)> handler) override;
    std::optional<workspace::OwnWindowPlace> place(std::uint32_t number) override;
    dispatch::Observation observeChanges(std::function<void(std::uint32_t window)> handler) override;
    dispatch::Observation observePointerElsewhere(std::function<void()> handler) override;
    dispatch::Observation observeEvents(
        std::function<void(const events::Event& event, std::uint32_t window)> handler) override;
    void tryAgainLater(const std::string& key, std::function<bool()> attempt, const std::string& why) override;

private:
    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostWindowEvents> journal_;
    std::shared_ptr<HostEvents> events_;
    std::atomic<std::uint64_t> nextObservation_ = 1;
};

}  // namespace dorvane::host
