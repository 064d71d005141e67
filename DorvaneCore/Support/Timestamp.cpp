#include "DorvaneCore/Support/Timestamp.h"

#include <cstdio>
#include <ctime>

namespace dorvane {

namespace {

std::tm utcFields(std::chrono::system_clock::time_point time) {
    // floor, not truncation, so instants before 1970 land in the right second.
    const auto seconds = std::chrono::floor<std::chrono::seconds>(time);
    const std::time_t raw = std::chrono::system_clock::to_time_t(seconds);
    std::tm fields{};
    gmtime_r(&raw, &fields);
    return fields;
}

std::string format(std::chrono::system_clock::time_point time, const char* pattern) {
    const std::tm fields = utcFields(time);
    char buffer[32];
    const std::size_t length = std::strftime(buffer, sizeof buffer, pattern, &fields);
    return std::string(buffer, length);
}

}  // namespace

std::string iso8601UTC(std::chrono::system_clock::time_point time) {
    return format(time, "%Y-%m-%dT%H:%M:%SZ");
}

std::string compactUTC(std::chrono::system_clock::time_point time) {
    return format(time, "%Y%m%dT%H%M%SZ");
}

std::optional<std::chrono::system_clock::time_point> parseISO8601UTC(std::string_view text) {
    if (text.size() != 20) return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &tail) !=
            7 ||
        tail != 'Z') {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                                           std::chrono::day{unsigned(day)}};
    if (!date.ok() || hour > 23 || minute > 59 || second > 60 || hour < 0 || minute < 0 || second < 0) {
        return std::nullopt;
    }
    const std::chrono::sys_seconds time = std::chrono::sys_days{date} + std::chrono::hours{hour} +
                                          std::chrono::minutes{minute} + std::chrono::seconds{second};
    // The clock counts nanoseconds: a few centuries either side of 1970, no more.
    using Clock = std::chrono::system_clock;
    if (time < std::chrono::ceil<std::chrono::seconds>(Clock::time_point::min()) ||
        time > std::chrono::floor<std::chrono::seconds>(Clock::time_point::max())) {
        return std::nullopt;
    }
    return std::chrono::time_point_cast<Clock::duration>(time);
}

}  // namespace dorvane
