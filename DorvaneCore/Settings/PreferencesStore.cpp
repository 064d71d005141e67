#include "DorvaneCore/Settings/PreferencesStore.h"

#include <exception>
#include <system_error>

#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/SetAside.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

namespace fs = std::filesystem;

PreferencesStore::PreferencesStore(fs::path supportFolder, WallClock wallClock)
    : folder_(std::move(supportFolder)), file_(folder_ / fileName), wallClock_(std::move(wallClock)) {}

Preferences PreferencesStore::load() {
    loadFailure_.reset();
    unreadable_.reset();
    unreadableCause_ = nullptr;
    setAsidePending_ = false;
    std::optional<std::string> text;
    try {
        text = readFileIfPresent(file_);
    } catch (const std::system_error& error) {
        loadFailure_ = error.what();
        // A folder or a pipe in the file's place holds nobody's settings: it goes aside. A
        // file that cannot be read now (permissions, an I/O error) may hold all of them.
        if (error.code() == std::errc::invalid_argument) {
            setAsidePending_ = true;
        } else {
            unreadable_ = error.what();
            unreadableCause_ = std::current_exception();
        }
        return Preferences();
    }
    if (!text) return Preferences();
    try {
        return Preferences::fromJson(json::parse(*text));
    } catch (const std::exception& error) {
        loadFailure_ = error.what();
        setAsidePending_ = true;
        return Preferences();
    }
}

void PreferencesStore::refuseOverUnreadFile() const {
    const std::string kept = "更改没有保存：为免覆盖其中的设置，这次运行不写入这个文件";
    std::optional<std::string> text;
    try {
        text = readFileIfPresent(file_);
    } catch (const std::exception& error) {
        std::throw_with_nested(FitError::message(shownText(error) + kept + "。"));
    }
    // Gone meanwhile: nothing of the user's is left to lose.
    if (!text) return;
    try {
        std::rethrow_exception(unreadableCause_);
    } catch (const std::exception& error) {
        std::throw_with_nested(FitError::message("Corvelle 启动时" + shownText(error) + kept +
                                                 "，下次启动时会重新读取。"));
    }
}

std::optional<fs::path> PreferencesStore::save(const Preferences& preferences) {
    const std::string text = encode(preferences);
    if (unreadable_) {
        refuseOverUnreadFile();
        unreadable_.reset();
    }
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

std::size_t PreferencesStore::removeLeftovers() const {
    // The names writeFileAtomically gives its temporary files.
    const std::string prefix = "." + std::string(fileName) + ".tmp-";
    std::size_t removed = 0;
    std::error_code error;
    for (fs::directory_iterator entry(folder_, error), end; !error && entry != end; entry.increment(error)) {
        if (!entry->path().filename().string().starts_with(prefix)) continue;
        std::error_code kind;
        if (!entry->is_regular_file(kind) || entry->is_symlink(kind)) continue;
        std::error_code removal;
        if (fs::remove(entry->path(), removal)) ++removed;
    }
    return removed;
}

std::string PreferencesStore::encode(const Preferences& preferences) {
    return json::serialize(preferences.toJson());
}

}  // namespace dorvane
