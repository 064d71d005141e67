#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Events/Event.h"
#include "Platform/Host/Store/HostFiles.h"

namespace dorvane::dispatch {
class SerialQueue;
}

namespace dorvane::host {

// How an event came into the stream: posted at the HID or session level, handed to a
// process, or posted by a tap's callback at its level.
enum class EntryPath { hid, session, process, hidTap, sessionTap };

// An event that reached an application (or nobody: a null event, a point off every window).
struct DeliveredEvent {
    double at = 0;                   // uptime
    events::Event event;             // its source process is field 41
    std::optional<pid_t> receiver;
    std::uint32_t window = 0;        // mouse and wheel: the window under the point
    std::optional<std::uint32_t> beneath;  // the ordinary window under it when it floats
    EntryPath entry = EntryPath::hid;

    friend bool operator==(const DeliveredEvent&, const DeliveredEvent&) = default;
    json::Json toJson() const;
    static DeliveredEvent fromJson(const json::Json& value);
};

// The events delivered on the machine, the last kLimit of them, oldest first. Appending
// never waits for storage; flush() does.
class DeliveredEventLog {
public:
    static constexpr std::size_t kLimit = 2000;

    virtual ~DeliveredEventLog() = default;
    virtual void append(std::vector<DeliveredEvent> events) = 0;
    // Returns once everything appended before is stored.
    virtual void flush() = 0;
    virtual std::vector<DeliveredEvent> read() = 0;
    virtual void clear() = 0;
};

// In memory, for a host in memory.
class MemoryDeliveredEventLog final : public DeliveredEventLog {
public:
    void append(std::vector<DeliveredEvent> events) override;
    void flush() override {}
    std::vector<DeliveredEvent> read() override;
    void clear() override;

private:
    std::mutex mutex_;
    std::vector<DeliveredEvent> events_;
};

// "events.jsonl" of a host folder: one JSON object a line, replaced whole (under a lock of
// its own, "events.jsonl.lock", so every process may write; waited for as the folder's lock
// is) by a queue of this process that writes what was appended in batches. Lines that cannot
// be read are skipped.
class FileDeliveredEventLog final : public DeliveredEventLog {
public:
    FileDeliveredEventLog(std::filesystem::path file, LockWait lockWait);
    ~FileDeliveredEventLog() override;

    void append(std::vector<DeliveredEvent> events) override;
    void flush() override;
    std::vector<DeliveredEvent> read() override;
    void clear() override;

private:
    void writePending();
    void rewrite(const std::vector<DeliveredEvent>& added, bool clearFirst);

    std::filesystem::path file_;
    LockWait lockWait_;
    std::mutex mutex_;
    std::vector<DeliveredEvent> pending_;
    bool writeScheduled_ = false;
    std::unique_ptr<dispatch::SerialQueue> writer_;  // made on first use
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::EntryPath> {
    static constexpr std::array<std::pair<host::EntryPath, std::string_view>, 5> table{{
        {host::EntryPath::hid, "hid"},
        {host::EntryPath::session, "session"},
        {host::EntryPath::process, "pid"},
        {host::EntryPath::hidTap, "hid-tap"},
        {host::EntryPath::sessionTap, "session-tap"},
    }};
};

}  // namespace dorvane
