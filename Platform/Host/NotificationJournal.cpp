#include "Platform/Host/NotificationJournal.h"

#include <algorithm>

namespace dorvane::host {

json::Json NotificationJournalEntry::toJson() const {
    json::Json object = json::Json::object();
    object["seq"] = seq;
    object["name"] = notification.name;
    object["object"] = notification.object ? json::Json(*notification.object) : json::Json(nullptr);
    object["info"] = notification.userInfo ? *notification.userInfo : json::Json(nullptr);
    return object;
}

NotificationJournalEntry NotificationJournalEntry::fromJson(const json::Json& value) {
    json::requireObject(value);
    NotificationJournalEntry entry;
    entry.seq = json::get<std::uint64_t>(value, "seq");
    entry.notification.name = json::get<std::string>(value, "name");
    entry.notification.object = json::getOptional<std::string>(value, "object");
    entry.notification.userInfo = json::getOptional<json::Json>(value, "info");
    if (const auto reason = system::unpostableNotification(entry.notification)) throw json::DecodeError(*reason);
    return entry;
}

json::Json NotificationReader::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["process"] = process.toJson();
    object["cursor"] = cursor;
    return object;
}

NotificationReader NotificationReader::fromJson(const json::Json& value) {
    json::requireObject(value);
    return NotificationReader{json::get<std::uint64_t>(value, "id"),
                              json::get<processes::ProcessIdentity>(value, "process"),
                              json::get<std::uint64_t>(value, "cursor")};
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

json::Json NotificationJournal::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["nextReader"] = nextReader;
    object["readers"] = json::encodeArray(readers);
    object["entries"] = json::encodeArray(entries);
    return object;
}

NotificationJournal NotificationJournal::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    NotificationJournal journal;
    journal.generation = json::get<std::uint64_t>(value, "generation");
    journal.nextReader = json::get<std::uint64_t>(value, "nextReader");
    journal.readers = json::get<std::vector<NotificationReader>>(value, "readers");
    journal.entries = json::get<std::vector<NotificationJournalEntry>>(value, "entries");
    return journal;
}

}  // namespace dorvane::host
