#include "DorvaneCore/Settings/PreferencesStore.h"

#include <system_error>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/SetAside.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

namespace fs = std::filesystem;

PreferencesStore::PreferencesStore(fs::path supportFolder, WallClock wallClock)
    : folder_(std::move(supportFolder)), file_(folder_ / fileName), wallClock_(std::move(wallClock)) {}

Preferences PreferencesStore::load() {
    loadFailure_.reset();
    setAsidePending_ = false;
    try {
        const auto text = readFileIfPresent(file_);
        if (!text) return Preferences();
        return Preferences::fromJson(json::parse(*text));
    } catch (const std::exception& error) {
        loadFailure_ = error.what();
        setAsidePending_ = true;
        return Preferences();
    }
}

std::optional<fs::path> PreferencesStore::save(const Preferences& preferences) {
    const std::string text = encode(preferences);
    std::optional<fs::path> setAside;
    if (setAsidePending_) {
        try {
            setAside = moveAside(file_, "preferences", wallClock_());
        } catch (const std::system_error& error) {
            // Writing now would destroy the only copy of the user's settings.
            if (error.code() != std::errc::no_such_file_or_directory) throw;
        }
        setAsidePending_ = false;
    }
    writeFileAtomically(file_, text);
    return setAside;
}

std::string PreferencesStore::encode(const Preferences& preferences) {
    return json::serialize(preferences.toJson());
}

}  // namespace dorvane
