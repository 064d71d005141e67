#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// One line of the host's action log: something a process asked of the host (every
// configuration call and transaction end, virtual displays, user activity, commands of
// the host tool) or something the host did by itself ("host" as the actor).
struct ActionEntry {
    std::uint64_t seq = 0;
    double uptime = 0;
    std::optional<std::int32_t> pid;
    std::string actor;                  // a process role, or "host"
    std::string action;                 // a call ("configureOrigin") or an event ("virtualDisplayGone")
    json::Json details = json::Json::object();   // the arguments, in order
    std::optional<std::int32_t> result;  // the DisplayError code answered, for calls that answer one

    // "configureOrigin tx=3 display=5 x=0 y=0 -> 0": what tests compare. Details named for
    // an Accessibility attribute or action go without "=": "axSetAttribute pid=4194305
    // window=3 AXSize 756x944 -> 0".
    std::string summary() const;

    // "12 5123.250 worker-commit[4242] configureOrigin tx=3 display=5 x=0 y=0 -> 0".
    std::string line() const;

    json::Json toJson() const;
    static ActionEntry fromJson(const json::Json& value);
};

// The log file's text: one JSON object per line. A last line without its newline (a
// writer that died mid-line) is ignored; any other bad line throws json::DecodeError.
std::vector<ActionEntry> parseActionLog(std::string_view text);

}  // namespace dorvane::host
