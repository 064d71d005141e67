// The simulated host's own files, as every process reads them from the host folder: the
// first line names the file ("windows.json"), the rest is its text. Whatever a decoder
// accepts must be written back as the same value; the watchers' reading of a state file's
// pulse must never fail.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "Platform/Host/State/AnnouncementLog.h"
#include "Platform/Host/State/AppearanceState.h"
#include "Platform/Host/State/DefaultsState.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/Host/Store/FolderPulse.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/State/HostState.h"
#include "Platform/Host/State/InputState.h"
#include "Platform/Host/State/LaunchBehaviours.h"
#include "Platform/Host/State/NotificationJournal.h"
#include "Platform/Host/State/PermissionsState.h"
#include "Platform/Host/State/PowerState.h"
#include "Platform/Host/State/ProcessTable.h"
#include "Platform/Host/State/StatusBarState.h"
#include "Platform/Host/State/WindowsState.h"
#include "Platform/Host/State/WorkspaceState.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using namespace dorvane;

// A host file holds one JSON document, as the folder store reads and writes it; a rule a
// fault table cannot hold is refused with HostError.
template <typename T>
int documentRoundTrip(std::string_view text) {
    return fuzz::decodeRoundTrip(
        text,
        [](std::string_view document) {
            try {
                return T::fromJson(json::parse(document));
            } catch (const host::HostError& error) {
                throw json::DecodeError(error.what());
            }
        },
        [](const T& value) { return json::serializePretty(value.toJson()); });
}

template <typename T>
int linesRoundTrip(std::string_view text) {
    return fuzz::decodeRoundTrip(
        text, [](std::string_view lines) { return T::fromJson(T::parseLines(lines)); },
        [](const T& value) { return T::linesText(value.toJson()); });
}

const std::map<std::string, std::function<int(std::string_view)>, std::less<>>& decoders() {
    static const std::map<std::string, std::function<int(std::string_view)>, std::less<>> table{
        {host::kDisplaysFile,
         [](std::string_view text) {
             (void)host::pulseOfStateText(text);
             return documentRoundTrip<host::HostState>(text);
         }},
        {host::kFaultsFile, documentRoundTrip<host::FaultRules>},
        {host::kPowerFile, documentRoundTrip<host::PowerState>},
        {host::kProcessesFile, documentRoundTrip<host::ProcessTable>},
        {host::kWorkspaceFile, documentRoundTrip<host::WorkspaceState>},
        {host::kWindowsFile, documentRoundTrip<host::WindowsState>},
        {host::kPermissionsFile, documentRoundTrip<host::PermissionsState>},
        {host::kInputFile, documentRoundTrip<host::InputState>},
        {host::kStatusBarFile, documentRoundTrip<host::StatusBarState>},
        {host::kDefaultsFile, documentRoundTrip<host::DefaultsState>},
        {host::kAppearanceFile, documentRoundTrip<host::AppearanceState>},
        {host::kNotificationsFile, documentRoundTrip<host::NotificationJournal>},
        {host::kAnnouncementsFile, linesRoundTrip<host::AnnouncementLog>},
        {host::kLaunchingFile, documentRoundTrip<host::LaunchBehaviours>},
    };
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::textOf(data, size);
    const auto end = input.find('\n');
    if (end == std::string_view::npos) return 0;
    const auto found = decoders().find(input.substr(0, end));
    if (found == decoders().end()) return 0;
    return found->second(input.substr(end + 1));
}
