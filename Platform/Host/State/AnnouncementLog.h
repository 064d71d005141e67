#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// One spoken announcement as the host heard it.
struct Announcement {
    std::string time;                 // wall time, "2025-03-01T08:15:30Z"
    std::optional<std::int32_t> pid;  // who asked
    std::string text;

    friend bool operator==(const Announcement&, const Announcement&) = default;

    json::Json toJson() const;
    static Announcement fromJson(const json::Json& value);
};

// The content of "announcements.jsonl": the last kLimit announcements, oldest first, one
// JSON object a line.
struct AnnouncementLog {
    static constexpr std::size_t kLimit = 200;

    std::vector<Announcement> entries;

    friend bool operator==(const AnnouncementLog&, const AnnouncementLog&) = default;

    // Appends, dropping the oldest beyond kLimit.
    void add(Announcement announcement);

    // The document is an array of the lines' objects.
    json::Json toJson() const;
    static AnnouncementLog fromJson(const json::Json& value);

    // The file's text as that array, and back. A line that is not JSON throws json::DecodeError.
    static json::Json parseLines(std::string_view text);
    static std::string linesText(const json::Json& document);
};

}  // namespace dorvane::host
