#include "Platform/Processes/ProcessIdentity.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::processes {

namespace {

constexpr auto processIdentityFields = [](auto& f, auto& identity) {
    f.required("pid", identity.pid);
    f.required("startTime", identity.startTime);
};

}  // namespace

json::Json ProcessIdentity::toJson() const { return json::writeFields(*this, processIdentityFields); }

ProcessIdentity ProcessIdentity::fromJson(const json::Json& value) {
    return json::readFields<ProcessIdentity>(value, processIdentityFields);
}

std::optional<ProcessStatus> parseProcessStat(std::string_view text) {
    // "pid (comm) state ppid ... starttime(22nd field) ..."; comm is bounded by the last ')'.
    const auto close = text.rfind(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view rest = text.substr(close + 1);

    int field = 2;  // the field that ends at `close`
    ProcessStatus status;
    bool haveState = false;
    while (!rest.empty()) {
        const auto start = rest.find_first_not_of(" \n");
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const auto end = rest.find_first_of(" \n");
        const std::string_view token = rest.substr(0, end);
        ++field;
        if (field == 3) {
            if (token.size() != 1) return std::nullopt;
            status.state = token.front();
            haveState = true;
        } else if (field == 22) {
            const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), status.startTime);
            if (ec != std::errc() || ptr != token.data() + token.size()) return std::nullopt;
            return haveState ? std::optional(status) : std::nullopt;
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end);
    }
    return std::nullopt;
}

std::optional<ProcessStatus> readProcessStatus(std::int32_t pid) {
    if (pid <= 0) return std::nullopt;
    std::optional<std::string> text;
    try {
        text = readFileIfPresent("/proc/" + std::to_string(pid) + "/stat");
    } catch (const std::exception&) {
        return std::nullopt;  // vanished between lookup and read
    }
    if (!text) return std::nullopt;
    return parseProcessStat(*text);
}

ProcessIdentity currentProcessIdentity() {
    const auto pid = static_cast<std::int32_t>(::getpid());
    const auto status = readProcessStatus(pid);
    if (!status) throw std::runtime_error("cannot read /proc/" + std::to_string(pid) + "/stat");
    return ProcessIdentity{pid, status->startTime};
}

bool isProcessAlive(const ProcessIdentity& identity) {
    const auto status = readProcessStatus(identity.pid);
    if (!status) return false;
    if (status->state == 'Z' || status->state == 'X' || status->state == 'x') return false;
    return status->startTime == identity.startTime;
}

}  // namespace dorvane::processes
