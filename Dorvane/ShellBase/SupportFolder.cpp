#include "Dorvane/ShellBase/SupportFolder.h"

#include <cstdlib>

namespace dorvane {

std::filesystem::path supportFolder() {
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/") / "Library" / "Application Support" / "Dorvane";
}

}  // namespace dorvane
