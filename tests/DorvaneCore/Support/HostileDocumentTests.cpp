#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"
#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ResourceBundle.h"
#include "DorvaneCore/Display/StableModes.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/DorvaneCore/Display/DisplayFixtures.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// Every reader of a stored document, with its own way of refusing one: an exception of
// ours, an empty record, or the defaults with the failure noted. Anything else (another
// exception, a crash, a hang) fails the test.
class HostileDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    struct Reader {
        std::string name;
        std::string valid;                               // a document it accepts
        std::function<bool(const std::string&)> accepts;  // false: refused as documented
    };

    std::vector<Reader> readers() {
        StableModes remembered;
        const auto display = testing::physicalDisplay(1, 0, 0, true);
        remembered.record({display}, {display});
        const auto bundled = [](const char* file) { return *readFileIfPresent(*coreResourceBundle() / file); };
        const auto refusedBy = [](auto decode) {
            return [decode](const std::string& text) {
                try {
                    decode(text);
                    return true;
                } catch (const json::DecodeError&) {
                    return false;
                } catch (const FitError&) {
                    return false;
                }
            };
        };
        return {
            {"preferences.json", "{}",
             [this](const std::string& text) {
                 writeFileAtomically(folder_ / PreferencesStore::fileName, text);
                 PreferencesStore store(folder_, [] { return std::chrono::system_clock::time_point(); });
                 store.load();
                 return !store.loadFailure();
             }},
            {"stable-layouts.json", json::serialize(remembered.toJson()),
             [](const std::string& text) { return !StableModes::fromFileText(text).layouts.empty(); }},
            {"session.json", "[]", refusedBy([](const std::string& text) { parseDisplayStates(text); })},
            {"device-templates.json", bundled("device-templates.json"),
             refusedBy([](const std::string& text) { DeviceTemplateCatalog::decode(text); })},
            {"shortcut-presets.json", bundled("shortcut-presets.json"),
             refusedBy([](const std::string& text) { ShortcutPresetCatalog::decode(text); })},
        };
    }

    const fs::path folder_ = fs::temp_directory_path() / ("hostile-" + std::to_string(::getpid()));
};

TEST_F(HostileDocumentTest, EveryReaderRefusesDeepNestingOverflowAndTrailingBytes) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    for (const auto& reader : readers()) {
        SCOPED_TRACE(reader.name);
        EXPECT_TRUE(reader.accepts(reader.valid));
        EXPECT_FALSE(reader.accepts(deep));
        EXPECT_FALSE(reader.accepts("[1e400]"));
        EXPECT_FALSE(reader.accepts(reader.valid + std::string("\0garbage", 8)));
        EXPECT_FALSE(reader.accepts(reader.valid + " {}"));
    }
}

TEST_F(HostileDocumentTest, ANamedPipeInPlaceOfAFileIsAnErrorNotAWait) {
    const fs::path pipe = folder_ / PreferencesStore::fileName;
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(readFileIfPresent(pipe), std::system_error);
    PreferencesStore store(folder_, [] { return std::chrono::system_clock::time_point(); });
    store.load();
    EXPECT_TRUE(store.loadFailure());
    EXPECT_THROW(DeviceTemplateCatalog::load(pipe, coreResourceBundle()), std::system_error);
}

}  // namespace
}  // namespace dorvane
