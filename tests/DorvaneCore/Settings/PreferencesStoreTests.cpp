#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <unistd.h>

#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/DorvaneCore/Settings/PreferencesPrinting.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

class PreferencesStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The clock reads 2025-03-01T08:15:30Z.
    PreferencesStore store() const {
        return PreferencesStore(folder_, [] {
            return std::chrono::system_clock::time_point(std::chrono::seconds(1740816930));
        });
    }

    Names files() const {
        Names names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
        return names;
    }

    const fs::path folder_ = fs::temp_directory_path() /
                             ("prefs-" + std::to_string(::getpid()) + "-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path aside_ = folder_ / "preferences.invalid-20250301T081530Z.json";
};

TEST_F(PreferencesStoreTest, MissingFileGivesDefaultsAndSavesReadBack) {
    auto settings = store();
    EXPECT_EQ(settings.load(), Preferences());
    Preferences changed;
    changed.namedShortcuts = {NamedShortcut("S1", "复制", ShortcutKey(8, modifier::command, "⌘C"))};
    EXPECT_EQ(settings.save(changed), std::nullopt);
    EXPECT_EQ(readFileIfPresent(settings.file()), PreferencesStore::encode(changed));
    EXPECT_EQ(store().load(), changed);
    EXPECT_EQ(files(), Names{"preferences.json"});
}

TEST_F(PreferencesStoreTest, UnusableFileIsMovedAsideBeforeTheFirstSave) {
    for (const std::string original : {
             R"({"toolbarSide":"middle","namedShortcuts":[
                 {"id":"S1","name":"复制","key":{"code":8,"modifiers":0,"label":"C"}}]})",
             R"({"namedShortcuts":[{"id":"S1","name":"复制","key":{"code":65536,"modifiers":0,"label":"C"}}]})",
             "{\"theme\":\"dark\","}) {
        SetUp();
        writeFileAtomically(folder_ / "preferences.json", original);
        auto settings = store();
        EXPECT_EQ(settings.load(), Preferences()) << original;
        EXPECT_TRUE(settings.loadFailure());
        EXPECT_EQ(readFileIfPresent(settings.file()), original);  // loading alone changes nothing

        Preferences changed;
        changed.theme = AppTheme::light;
        EXPECT_EQ(settings.save(changed), aside_);
        EXPECT_EQ(readFileIfPresent(aside_), original);
        EXPECT_EQ(store().load(), changed);
        EXPECT_EQ(settings.save(changed), std::nullopt);  // later saves replace the new file only
        EXPECT_EQ(files(), (Names{"preferences.json", aside_.filename()}));
    }
}

TEST_F(PreferencesStoreTest, EarlierCopiesSetAsideAreNeverOverwritten) {
    writeFileAtomically(aside_, "first");
    writeFileAtomically(folder_ / "preferences.json", "second");
    auto settings = store();
    settings.load();
    EXPECT_EQ(settings.save(Preferences()), folder_ / "preferences.invalid-20250301T081530Z-2.json");
    EXPECT_EQ(readFileIfPresent(aside_), "first");
    EXPECT_EQ(readFileIfPresent(folder_ / "preferences.invalid-20250301T081530Z-2.json"), "second");
}

TEST_F(PreferencesStoreTest, AGoodLoadOrAVanishedFileLeavesNothingToMove) {
    auto settings = store();
    writeFileAtomically(settings.file(), "not json");
    settings.load();
    fs::remove(settings.file());
    EXPECT_EQ(settings.save(Preferences()), std::nullopt);

    writeFileAtomically(settings.file(), "not json");
    settings.load();
    writeFileAtomically(settings.file(), "{}");
    EXPECT_EQ(settings.load().theme, AppTheme::system);
    EXPECT_EQ(settings.loadFailure(), std::nullopt);
    EXPECT_EQ(settings.save(Preferences()), std::nullopt);
    EXPECT_EQ(files(), Names{"preferences.json"});
}

// A file that is there but cannot be read may hold every setting the user made: the defaults
// are in effect, but no save replaces the file or moves it aside while it is there; each
// save fails and says why, and the next start reads it.
TEST_F(PreferencesStoreTest, AFileThatCannotBeReadIsNeverReplacedAndEverySaveSaysWhy) {
    Preferences mine;
    mine.theme = AppTheme::light;
    const std::string original = PreferencesStore::encode(mine);
    const fs::path kept = folder_ / "kept.json";
    writeFileAtomically(kept, original);
    // Reading a process's memory at offset 0 fails with EIO, whoever reads it (root too).
    fs::create_symlink("/proc/self/mem", folder_ / "preferences.json");

    auto settings = store();
    EXPECT_EQ(settings.load(), Preferences());
    ASSERT_TRUE(settings.unreadable());
    EXPECT_NE(settings.unreadable()->find("Input/output error"), std::string::npos) << *settings.unreadable();
    EXPECT_EQ(settings.loadFailure(), settings.unreadable());
    Preferences changed;
    changed.theme = AppTheme::dark;
    // The person reads the file's name and the cause in Chinese; the system's own words
    // stay nested in the failure for the log.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            settings.save(changed);
            ADD_FAILURE() << "saved over a file that could not be read";
        } catch (const FitError& error) {
            EXPECT_STREQ(error.what(), "无法读取 preferences.json：读写出错。"
                                       "更改没有保存：为免覆盖其中的设置，这次运行不写入这个文件。");
            EXPECT_NE(technicalText(error).find("preferences.json: Input/output error"), std::string::npos)
                << technicalText(error);
        }
    }
    EXPECT_TRUE(fs::is_symlink(folder_ / "preferences.json"));
    EXPECT_EQ(files(), (Names{"kept.json", "preferences.json"}));

    // Readable again: still left alone for this run, and read at the next start.
    fs::remove(folder_ / "preferences.json");
    fs::rename(kept, folder_ / "preferences.json");
    try {
        settings.save(changed);
        ADD_FAILURE() << "saved over the user's settings";
    } catch (const FitError& error) {
        EXPECT_STREQ(error.what(), "Corvelle 启动时无法读取 preferences.json：读写出错。"
                                   "更改没有保存：为免覆盖其中的设置，这次运行不写入这个文件，下次启动时会重新读取。");
        EXPECT_NE(technicalText(error).find("preferences.json: Input/output error"), std::string::npos)
            << technicalText(error);
    }
    EXPECT_EQ(readFileIfPresent(settings.file()), original);
    EXPECT_EQ(store().load(), mine);

    // Gone meanwhile: nothing is lost by writing.
    settings.load();
    fs::remove(folder_ / "preferences.json");
    fs::create_symlink("/proc/self/mem", folder_ / "preferences.json");
    settings.load();
    fs::remove(folder_ / "preferences.json");
    EXPECT_EQ(settings.save(changed), std::nullopt);
    EXPECT_EQ(store().load(), changed);
    EXPECT_EQ(files(), Names{"preferences.json"});
}

TEST_F(PreferencesStoreTest, LeftoversOfSavesCutShortGoAndNothingElse) {
    writeFileAtomically(folder_ / ".preferences.json.tmp-a1B2c3", "{\"theme\":");
    writeFileAtomically(folder_ / ".preferences.json.tmp-Zz9Yy8", "");
    writeFileAtomically(folder_ / ".session.json.tmp-a1B2c3", "other file's");
    writeFileAtomically(folder_ / "preferences.json", "{}");
    fs::create_directory(folder_ / ".preferences.json.tmp-folder");
    EXPECT_EQ(store().removeLeftovers(), 2u);
    EXPECT_EQ(files(), (Names{".session.json.tmp-a1B2c3", "preferences.json", ".preferences.json.tmp-folder"}));
    EXPECT_EQ(store().removeLeftovers(), 0u);
}

TEST_F(PreferencesStoreTest, AFolderInTheFilesPlaceIsSetAsideAtTheNextSave) {
    fs::create_directories(folder_ / "preferences.json" / "inside");
    auto settings = store();
    EXPECT_EQ(settings.load(), Preferences());
    EXPECT_TRUE(settings.loadFailure());
    EXPECT_FALSE(settings.unreadable());
    EXPECT_EQ(settings.save(Preferences()), aside_);
    EXPECT_TRUE(fs::is_directory(aside_ / "inside"));
    EXPECT_EQ(store().load(), Preferences());
}

}  // namespace
}  // namespace dorvane
