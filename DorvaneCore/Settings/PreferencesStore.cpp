#include "DorvaneCore/Settings/PreferencesStore.h"

#include <system_error>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "DorvaneCore/Support/Timestamp.h"

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
        const fs::path target = setAsidePath();
        std::error_code error;
        fs::rename(file_, target, error);
        if (!error) {
            setAside = target;
        } else if (error != std::errc::no_such_file_or_directory) {
            // Writing now would destroy the only copy of the user's settings.
            throw std::system_error(error, "cannot move aside " + file_.string());
        }
        setAsidePending_ = false;
    }
    writeFileAtomically(file_, text);
    return setAside;
}

std::string PreferencesStore::encode(const Preferences& preferences) {
    return json::serialize(preferences.toJson());
}

fs::path PreferencesStore::setAsidePath() const {
    const std::string stem = "preferences.invalid-" + compactUTC(wallClock_());
    fs::path candidate = folder_ / (stem + ".json");
    // Never overwrite an earlier copy set aside within the same second.
    for (int suffix = 2; fs::exists(candidate); ++suffix) {
        candidate = folder_ / (stem + "-" + std::to_string(suffix) + ".json");
    }
    return candidate;
}

}  // namespace dorvane
