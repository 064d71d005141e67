#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"

namespace dorvane::dispatch {
class Clock;
}

namespace dorvane::shell {

class ControllerHost;
class StatusKeeper;

// What happens to a change whose file cannot be written.
enum class WriteRule {
    // The change becomes the settings only once the file holds it; a failure changes
    // nothing and its text goes back to the caller, who shows it.
    validated,
    // The change stays in effect; only the file is behind, and the status says
    // "设置保存失败". For the settings that take effect the moment they are chosen.
    inEffect,
};

// The settings in effect and "preferences.json": read once when the keeper is made, and
// changed only here, each change handed in whole. Main thread only.
class PreferencesKeeper {
public:
    // Puts the stored settings in effect; a missing, undecodable or unreadable file keeps
    // the defaults. One that cannot be read is left alone: every change then fails to save.
    PreferencesKeeper(StatusKeeper& status, ControllerHost& host, const std::filesystem::path& root,
                      dispatch::Clock& clock);
    PreferencesKeeper(const PreferencesKeeper&) = delete;
    PreferencesKeeper& operator=(const PreferencesKeeper&) = delete;

    const Preferences& preferences() const { return preferences_; }
    // Removes what saves of the settings cut short by a killed process left. Only for the
    // instance that holds the instance lock.
    std::size_t removeLeftovers() const { return store_.removeLeftovers(); }
    // Why the settings file could not be read at load, when that was so.
    const std::optional<std::string>& unreadable() const { return store_.unreadable(); }
    // Every change is made on a copy of the settings and handed here with its setting's
    // rule; the in-effect rule renders the menu, the validated one leaves that to the
    // caller, who has more to show. The failure's text, or nothing when written.
    std::optional<std::string> write(Preferences next, WriteRule rule);
    // Puts `next` in effect without writing it: the selection an automatic apply makes is
    // the connection's, not the person's.
    void useUnsaved(Preferences next);

private:
    StatusKeeper& status_;
    ControllerHost& host_;
    PreferencesStore store_;
    Preferences preferences_;
};

}  // namespace dorvane::shell
