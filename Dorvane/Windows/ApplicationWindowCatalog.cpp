#include "Dorvane/Windows/ApplicationWindowCatalog.h"

#include <map>

#include "Dorvane/Windows/AXReader.h"
#include "Dorvane/Windows/WindowListEntries.h"
#include "DorvaneCore/Windows/ApplicationTargetPolicy.h"
#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

namespace attribute = accessibility::attribute;

ApplicationWindowCatalog::ApplicationWindowCatalog(dispatch::Executor& readQueue,
                                                   accessibility::AccessibilityServices& ax, Query query, Uptime uptime)
    : readQueue_(readQueue), ax_(ax), query_(std::move(query)), uptime_(std::move(uptime)) {}

ApplicationWindowCatalog::~ApplicationWindowCatalog() { lifetime_.end(); }

ApplicationWindowCatalog::Query ApplicationWindowCatalog::windowServerQuery(
    accessibility::WindowListServices& windowList, workspace::ApplicationWorkspace& workspace, pid_t ownPID) {
    return [&windowList, &workspace, ownPID] {
        std::vector<Window> windows;
        const auto entries = readOnScreenWindows(windowList);
        if (!entries) return windows;
        // Each process is asked once per read.
        std::map<std::int32_t, bool> regular;
        for (const auto& entry : *entries) {
            if (entry.layer != 0) continue;
            if (!entry.pid || *entry.pid == ownPID) continue;
            if (!entry.number || !entry.bounds) continue;
            if (!ApplicationTargetPolicy::isUsableWindow(*entry.bounds)) continue;
            auto known = regular.find(*entry.pid);
            if (known == regular.end()) {
                bool isRegular = false;
                try {
                    const auto application = workspace.runningApplication(*entry.pid);
                    isRegular = application && application->activationPolicy == workspace::ActivationPolicy::regular;
                } catch (const std::exception&) {
                    // A host that cannot be asked lists nothing of the process.
                }
                known = regular.emplace(*entry.pid, isRegular).first;
            }
            if (known->second) windows.push_back(Window{*entry.pid, *entry.number, *entry.bounds});
        }
        return windows;
    };
}

dispatch::Task<std::vector<ApplicationWindowCatalog::Window>> ApplicationWindowCatalog::snapshot() {
    const auto alive = lifetime_.watch();
    if (cached_ && uptime_() - checkedAt_ < cacheLifetime) co_return *cached_;
    if (pending_) {
        // Joined, not started here: the cache is the starter's to fill.
        const auto pending = pending_;
        co_await pending->done.wait();
        co_return pending->result;
    }
    const auto pending = std::make_shared<Pending>();
    pending_ = pending;
    const auto forgotten = forgotten_;
    // Joined callers go on even if this read never ends (its queue stopped at quit).
    const dispatch::CompleteOnExit finished(pending->done);
    auto read = [query = query_] { return query(); };
    std::vector<Window> list;
    try {
        list = co_await dispatch::runOn(readQueue_, std::move(read));
    } catch (...) {
        // A failed read is no one's to join any more: the next snapshot reads again.
        if (alive && pending_ == pending) pending_.reset();
        throw;
    }
    if (!alive) throw dispatch::TaskCancelled();
    pending->result = list;
    if (forgotten == forgotten_) {
        cached_ = list;
        checkedAt_ = uptime_();
    }
    if (pending_ == pending) pending_.reset();
    pending->done.complete();
    co_return list;
}

void ApplicationWindowCatalog::forget() {
    ++forgotten_;
    cached_.reset();
    // Whoever asks from now on starts a read of their own.
    pending_.reset();
}

std::optional<bool> ApplicationWindowCatalog::focusedWindowUsable(pid_t pid) {
    const AXReader reader(ax_);
    const auto application = reader.application(pid, probeTimeout);
    const auto window = reader.element(application, attribute::focusedWindow);
    if (!window) return std::nullopt;
    reader.setTimeout(*window, probeTimeout);
    accessibility::AXValue value;
    if (ax_.copyAttributeValue(*window, attribute::size, value) != accessibility::AXError::success) return std::nullopt;
    const auto* size = std::get_if<geometry::Size>(&value);
    if (size == nullptr) return std::nullopt;
    return ApplicationTargetPolicy::isUsableWindow(Rect(geometry::Point{}, *size));
}

}  // namespace dorvane::windows
