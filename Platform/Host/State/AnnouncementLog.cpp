#include "Platform/Host/State/AnnouncementLog.h"

#include "DorvaneCore/Support/JsonFields.h"
#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane::host {

namespace {

std::string utcTime(const json::Json& value) {
    auto time = json::decode<std::string>(value);
    if (!parseISO8601UTC(time)) throw json::DecodeError("not a UTC time");
    return time;
}

constexpr auto announcementFields = [](auto& f, auto& announcement) {
    f.required("time", announcement.time, {.decode = utcTime});
    f.nullable("pid", announcement.pid);
    f.required("text", announcement.text);
};

}  // namespace

json::Json Announcement::toJson() const { return json::writeFields(*this, announcementFields); }

Announcement Announcement::fromJson(const json::Json& value) {
    return json::readFields<Announcement>(value, announcementFields);
}

void AnnouncementLog::add(Announcement announcement) {
    entries.push_back(std::move(announcement));
    if (entries.size() > kLimit) entries.erase(entries.begin(), entries.end() - static_cast<std::ptrdiff_t>(kLimit));
}

json::Json AnnouncementLog::toJson() const { return json::encodeArray(entries); }

AnnouncementLog AnnouncementLog::fromJson(const json::Json& value) {
    return AnnouncementLog{json::decode<std::vector<Announcement>>(value)};
}

json::Json AnnouncementLog::parseLines(std::string_view text) {
    json::Json document = json::Json::array();
    std::size_t line = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto current = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++line;
        if (current.empty()) continue;
        try {
            document.push_back(json::parse(current));
        } catch (const json::DecodeError& error) {
            throw error.within("line " + std::to_string(line));
        }
    }
    return document;
}

std::string AnnouncementLog::linesText(const json::Json& document) {
    std::string text;
    for (const auto& line : document) text += json::serialize(line) + "\n";
    return text;
}

}  // namespace dorvane::host
