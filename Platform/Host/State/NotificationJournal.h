#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Processes/ProcessIdentity.h"
#include "Platform/System/DistributedNotifications.h"

namespace dorvane::host {

// One posted notification, numbered in posting order.
struct NotificationJournalEntry {
    std::uint64_t seq = 0;
    system::DistributedNotification notification;

    friend bool operator==(const NotificationJournalEntry&, const NotificationJournalEntry&) = default;

    json::Json toJson() const;
    static NotificationJournalEntry fromJson(const json::Json& value);
};

// A program that takes notifications: up to `cursor` it has taken them all.
struct NotificationReader {
    std::uint64_t id = 0;
    processes::ProcessIdentity process;
    std::uint64_t cursor = 0;

    friend bool operator==(const NotificationReader&, const NotificationReader&) = default;

    json::Json toJson() const;
    static NotificationReader fromJson(const json::Json& value);
};

// The content of "notifications.json": the distributed notifications that some running
// program has still to take, and where each reader stands. An entry stays until every
// reader has taken it, so none is lost however late a reader looks; the journal still
// never holds more than kLimit entries (a reader that stops taking loses the oldest).
struct NotificationJournal {
    static constexpr std::int32_t kFormat = 1;
    static constexpr std::size_t kLimit = 1000;

    // The number of the last notification posted (0: none yet); watchers compare it.
    std::uint64_t generation = 0;
    std::uint64_t nextReader = 1;
    std::vector<NotificationReader> readers;
    std::vector<NotificationJournalEntry> entries;

    friend bool operator==(const NotificationJournal&, const NotificationJournal&) = default;

    // Numbers the notification; keeps it only while someone reads. Answers its number.
    std::uint64_t post(const system::DistributedNotification& notification);

    // A new reader that takes what is posted from now on; answers its id.
    std::uint64_t addReader(const processes::ProcessIdentity& process);

    // What the reader has not taken yet, in order, now counted as taken; nothing for a
    // reader the journal does not know.
    std::optional<std::vector<NotificationJournalEntry>> take(std::uint64_t reader);

    bool removeReader(std::uint64_t reader);

    // Forgets the readers whose process has ended; answers how many.
    std::size_t dropEndedReaders(const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

    json::Json toJson() const;
    static NotificationJournal fromJson(const json::Json& value);

private:
    // Drops what every reader has taken, and the oldest beyond kLimit.
    void trim();
};

}  // namespace dorvane::host
