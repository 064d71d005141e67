#include "Platform/Host/State/NotificationJournal.h"

#include <algorithm>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto notificationEntryFields = [](auto& f, auto& entry) {
    f.required("seq", entry.seq);
    f.required("name", entry.notification.name);
    f.nullable("object", entry.notification.object);
    f.nullable("info", entry.notification.userInfo);
};

constexpr auto notificationReaderFields = [](auto& f, auto& reader) {
    f.required("id", reader.id);
    f.required("process", reader.process);
    f.required("cursor", reader.cursor);
};

constexpr auto notificationJournalFields = [](auto& f, auto& journal) {
    f.format(NotificationJournal::kFormat);
    f.required("generation", journal.generation);
    f.required("nextReader", journal.nextReader);
    f.required("readers", journal.readers);
    f.required("entries", journal.entries);
};

}  // namespace

json::Json NotificationJournalEntry::toJson() const { return json::writeFields(*this, notificationEntryFields); }

NotificationJournalEntry NotificationJournalEntry::fromJson(const json::Json& value) {
    auto entry = json::readFields<NotificationJournalEntry>(value, notificationEntryFields);
    if (const auto reason = system::unpostableNotification(entry.notification)) throw json::DecodeError(*reason);
    return entry;
}

json::Json NotificationReader::toJson() const { return json::writeFields(*this, notificationReaderFields); }

NotificationReader NotificationReader::fromJson(const json::Json& value) {
    return json::readFields<NotificationReader>(value, notificationReaderFields);
}

std::uint64_t NotificationJournal::post(const system::DistributedNotification& notification) {
    ++generation;
    if (!readers.empty()) {
        entries.push_back(NotificationJournalEntry{generation, notification});
        trim();
    }
    return generation;
}

std::uint64_t NotificationJournal::addReader(const processes::ProcessIdentity& process) {
    const auto id = nextReader++;
    readers.push_back(NotificationReader{id, process, generation});
    return id;
}

std::optional<std::vector<NotificationJournalEntry>> NotificationJournal::take(std::uint64_t reader) {
    const auto found = std::find_if(readers.begin(), readers.end(),
                                    [reader](const NotificationReader& candidate) { return candidate.id == reader; });
    if (found == readers.end()) return std::nullopt;
    std::vector<NotificationJournalEntry> taken;
    for (const auto& entry : entries) {
        if (entry.seq > found->cursor) taken.push_back(entry);
    }
    found->cursor = generation;
    trim();
    return taken;
}

bool NotificationJournal::removeReader(std::uint64_t reader) {
    const auto removed = std::erase_if(readers, [reader](const NotificationReader& candidate) { return candidate.id == reader; });
    trim();
    return removed > 0;
}

std::size_t NotificationJournal::dropEndedReaders(
    const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    const auto dropped =
        std::erase_if(readers, [&isAlive](const NotificationReader& reader) { return !isAlive(reader.process); });
    trim();
    return dropped;
}

void NotificationJournal::trim() {
    std::uint64_t takenByAll = generation;
    for (const auto& reader : readers) takenByAll = std::min(takenByAll, reader.cursor);
    std::erase_if(entries, [takenByAll](const NotificationJournalEntry& entry) { return entry.seq <= takenByAll; });
    if (entries.size() > kLimit) entries.erase(entries.begin(), entries.end() - static_cast<std::ptrdiff_t>(kLimit));
}

json::Json NotificationJournal::toJson() const { return json::writeFields(*this, notificationJournalFields); }

NotificationJournal NotificationJournal::fromJson(const json::Json& value) {
    return json::readFields<NotificationJournal>(value, notificationJournalFields);
}

}  // namespace dorvane::host
