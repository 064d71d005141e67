#pragma once

#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane {

// The one place that reads and writes "preferences.json" in the support folder.
//
// A file that exists but does not decode (or a folder or pipe in its place)
// leaves the defaults in effect, as a damaged file must not stop the program. It
// is not thrown away with the next save, though: before that save replaces it, it
// is moved aside to "preferences.invalid-<UTC time>.json" in the same folder, so
// the user's custom presets and shortcuts can still be recovered by hand.
//
// A file that exists but cannot be read (permissions, an I/O error) may hold all
// of the user's settings, good ones: the defaults are in effect, and the file is
// left as it is for the rest of the run. Every save fails, saying why, so that the
// settings are read again at the next start.
//
// Used from one thread (the main thread).
class PreferencesStore {
public:
    // Calendar time, only for naming a file that was moved aside.
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    static constexpr std::string_view fileName = "preferences.json";

    PreferencesStore(std::filesystem::path supportFolder, WallClock wallClock);

    const std::filesystem::path& file() const { return file_; }

    // The stored record; Preferences() when the file is missing or cannot be
    // read or decoded. Never throws (beyond running out of memory).
    Preferences load();

    // Why the last load() fell back to the defaults although a file was there.
    const std::optional<std::string>& loadFailure() const { return loadFailure_; }
    // Why the last load() could not read a file that is there, when that was so.
    const std::optional<std::string>& unreadable() const { return unreadable_; }

    // Replaces the file whole and atomically with `preferences`. When the last
    // load() could not decode the file, it is first moved aside; its new path is
    // returned. Throws FileError when moving or writing fails; the file on disk is
    // then unchanged, and a pending move is tried again on the next save. When the
    // last load() could not read the file, throws a FitError that says so in Chinese
    // (why it still cannot be read, or that it could not be read at the start; the
    // system's error nested in it) and writes nothing while the file is there.
    std::optional<std::filesystem::path> save(const Preferences& preferences);

    // Removes the temporary files (".preferences.json.tmp-*") of saves cut short by a
    // killed process. Only for the one instance that saves this file: another one's save
    // in progress would lose its file. Answers how many went; never throws.
    std::size_t removeLeftovers() const;

    // The text save() writes: compact JSON, keys in the file's fixed order.
    static std::string encode(const Preferences& preferences);

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    WallClock wallClock_;
    // Throws unless the file that could not be read is gone.
    void refuseOverUnreadFile() const;

    std::optional<std::string> loadFailure_;
    std::optional<std::string> unreadable_;
    std::exception_ptr unreadableCause_;
    bool setAsidePending_ = false;
};

}  // namespace dorvane
