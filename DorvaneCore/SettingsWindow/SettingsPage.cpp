#include "DorvaneCore/SettingsWindow/SettingsPage.h"

namespace dorvane {

namespace {
constexpr std::string_view kFallbackVersion = "0.8.110";
}  // namespace

std::string settingsVersionLine(std::string_view version) {
    std::string line = "v";
    line += version.empty() ? kFallbackVersion : version;
    return line;
}

}  // namespace dorvane
