#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <unistd.h>

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

}  // namespace
}  // namespace dorvane
