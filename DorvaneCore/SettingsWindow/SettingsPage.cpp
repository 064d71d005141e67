#include "DorvaneCore/SettingsWindow/SettingsPage.h"

namespace dorvane {

namespace {
constexpr std::string_view kFallbackVersion = "0.8.110";
}  // namespace

std::string settingsVersionLine(std::string_view version) {
    return "v" + std::string(version.empty() ? kFallbackVersion : version);
}

}  // namespace dorvane
