#include "Platform/Host/Store/HostFolder.h"

#include <cstdlib>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool isSet(const std::optional<std::string>& value) { return value && !value->empty(); }

}  // namespace

std::filesystem::path hostFolderFrom(const std::optional<std::string>& hostDir,
                                     const std::optional<std::string>& xdgStateHome,
                                     const std::optional<std::string>& home) {
    if (isSet(hostDir)) return std::filesystem::path(*hostDir);
    if (isSet(xdgStateHome)) return std::filesystem::path(*xdgStateHome) / "corvelle-host";
    if (isSet(home)) return std::filesystem::path(*home) / ".local" / "state" / "corvelle-host";
    throw HostError("no host folder: set CORVELLE_HOST_DIR (or XDG_STATE_HOME or HOME)");
}

std::filesystem::path defaultHostFolder() {
    return hostFolderFrom(variable("CORVELLE_HOST_DIR"), variable("XDG_STATE_HOME"), variable("HOME"));
}

}  // namespace dorvane::host
