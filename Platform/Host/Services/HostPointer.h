#pragma once

#include <memory>

#include "Platform/Events/PointerServices.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"

namespace dorvane::host {

// The simulated pointer, and global monitors of what reaches other applications: the
// events this process's stream delivers, and the clicks other processes delivered (from
// the journal). Events for this process's own windows go to those windows (OwnWindows).
class HostPointer final : public events::PointerServices {
public:
    HostPointer(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> journal,
                std::shared_ptr<HostEvents> events)
        : session_(std::move(session)), journal_(std::move(journal)), events_(std::move(events)) {}

    geometry::Point location() override;
    std::uint32_t pressedButtons() override;
    dispatch::Observation addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)> handler) override;
    dispatch::Observation addGlobalMonitor(events::EventMask mask,
                                           std::function<void(const events::Event&)> handler) override;

private:
    // Every event of `mask` for another application, with the window under it and, when
    // that one floats, the ordinary window beneath.
    using OthersHandler =
        std::function<void(const events::Event&, std::uint32_t window, std::optional<std::uint32_t> beneath)>;
    dispatch::Observation observeOthers(events::EventMask mask, OthersHandler handler);

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostWindowEvents> journal_;
    std::shared_ptr<HostEvents> events_;
};

// Both observations, ended together.
dispatch::Observation combined(dispatch::Observation first, dispatch::Observation second);

// A journal entry of a click another process delivered, as the event it was; none for
// other entries and for what this process delivered itself.
std::optional<events::Event> clickFromJournal(const JournalEntry& entry, pid_t ownPID);

}  // namespace dorvane::host
