#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ResourceBundle.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

std::string presetJson(std::string id, std::string name, int code = 8, std::string label = "⌘C") {
    return R"({"id":")" + id + R"(","name":")" + name + R"(","key":{"code":)" + std::to_string(code) +
           R"(,"modifiers":1048576,"label":")" + label + R"("}})";
}

std::string document(const std::vector<std::string>& presets, int schema = 1) {
    std::string list;
    for (const auto& preset : presets) list += (list.empty() ? "" : ",") + preset;
    return R"({"schemaVersion":)" + std::to_string(schema) + R"(,"updatedAt":"2026-01-01","presets":[)" + list + "]}";
}

// The FitError text of `action`, "ok" when it throws nothing.
std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FitError& error) {
        return error.what();
    }
    return "ok";
}

std::string decodeFailure(const std::string& text) {
    return failureOf([&] { ShortcutPresetCatalog::decode(text); });
}

TEST(ShortcutPresetCatalogDecode, AcceptsAWholeValidDocumentUnchanged) {
    const auto catalog = ShortcutPresetCatalog::decode(
        document({presetJson("b", "复制"), presetJson("a", " 复制 "), R"({"id":"c","name":"x","key":{"code":53,"modifiers":0,"label":"Esc"},"mode":"hold","icon":"escape","enabled":false})"}));
    EXPECT_EQ(catalog.updatedAt, "2026-01-01");
    ASSERT_EQ(catalog.presets.size(), 3u);
    EXPECT_EQ(catalog.presets[0].id, "b");
    EXPECT_EQ(catalog.presets[1].name, " 复制 ");  // kept as written; differs from "复制"
    EXPECT_EQ(catalog.presets[2].mode, NamedShortcut::Mode::hold);
    EXPECT_FALSE(catalog.presets[2].enabled);
    EXPECT_EQ(catalog.preset("c"), &catalog.presets[2]);
    EXPECT_EQ(catalog.preset("z"), nullptr);
    EXPECT_EQ(ShortcutPresetCatalog::decode(json::serialize(catalog.toJson())), catalog);
}

TEST(ShortcutPresetCatalogDecode, RejectsTheWholeDocumentWithTheRightMessage) {
    const std::string invalid = "快捷操作预设无效。";
    const std::string duplicate = "快捷操作预设重复。";
    EXPECT_EQ(decodeFailure(document({presetJson("a", "复制")}, 2)), "快捷操作预设格式不支持。");
    EXPECT_EQ(decodeFailure(document({presetJson("a", "复制"), presetJson("b", "复制")})), duplicate);
    EXPECT_EQ(decodeFailure(document({presetJson("a", "复制"), presetJson("a", "粘贴")})), duplicate);
    EXPECT_EQ(decodeFailure(document({presetJson("", "复制")})), duplicate);
    EXPECT_EQ(decodeFailure(document({presetJson("a", "复制"), presetJson("a", "粘贴", 128)})), invalid);
    EXPECT_EQ(decodeFailure(document({presetJson("a", "复制"), presetJson("", "粘贴", 8, "")})), invalid);
    EXPECT_EQ(decodeFailure(document({presetJson("a", "\u3000 ")})), invalid);
    EXPECT_EQ(decodeFailure(document({presetJson("a", std::string(33, 'x'))})), invalid);
    EXPECT_EQ(decodeFailure(document({presetJson("a", std::string(32, 'x'))})), "ok");

    for (const std::string& bad : {std::string(R"({"schemaVersion":1,"presets":[]})"),
                                  std::string(R"({"schemaVersion":1,"updatedAt":"x","presets":{}})"),
                                  document({presetJson("a", "复制", 70000)}),
                                  document({R"({"id":"a","name":"n","key":{"code":8,"modifiers":0,"label":"C"},"mode":"x"})"}, 2),
                                  std::string("{")}) {
        EXPECT_THROW(ShortcutPresetCatalog::decode(bad), json::DecodeError) << bad;
    }
}

TEST(ShortcutPresetCatalogLoading, OverrideWinsNeverFallsBackAndMissingIsNotFound) {
    const fs::path root = fs::temp_directory_path() / ("presets-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path bundle = root / "Corvelle_DorvaneCore.bundle";
    const fs::path overrideFile = root / "Dorvane" / "shortcut-presets.json";
    fs::create_directories(bundle);
    fs::create_directories(overrideFile.parent_path());
    writeFileAtomically(bundle / "shortcut-presets.json", document({presetJson("bundled", "复制")}));
    const auto firstID = [](const ShortcutPresetCatalog& catalog) { return catalog.presets[0].id; };

    EXPECT_EQ(firstID(ShortcutPresetCatalog::load(overrideFile, bundle)), "bundled");
    writeFileAtomically(overrideFile, document({presetJson("mine", "复制")}));
    EXPECT_EQ(firstID(ShortcutPresetCatalog::load(overrideFile, bundle)), "mine");
    EXPECT_EQ(firstID(ShortcutPresetCatalog::load(std::nullopt, bundle)), "bundled");
    EXPECT_EQ(firstID(ShortcutPresetCatalog::load(overrideFile, std::nullopt)), "mine");

    // A damaged override is not passed over: the person reads which file and which line,
    // the decoder's own account stays nested in the failure for the log.
    const auto failure = [&] {
        try {
            ShortcutPresetCatalog::load(overrideFile, bundle);
        } catch (const FitError& error) {
            return std::pair<std::string, std::string>(error.what(), technicalText(error));
        }
        return std::pair<std::string, std::string>("ok", "");
    };
    writeFileAtomically(overrideFile, "{\n  \"schemaVersion\": 1,\n  \"updatedAt\": \"2026\",\n  \"presets\": [,]\n}\n");
    auto [shown, logged] = failure();
    EXPECT_EQ(shown, "shortcut-presets.json 第 4 行格式有误。");
    EXPECT_NE(logged.find("<- malformed JSON: "), std::string::npos) << logged;
    // A value that does not decode: the line it stands on; a key that is missing: the line
    // of the entry that lacks it.
    const std::string head = "{\n  \"schemaVersion\": 1,\n  \"updatedAt\": \"2026\",\n  \"presets\": [\n    ";
    writeFileAtomically(overrideFile, head + presetJson("a", "复制") + ",\n    " +
                                          R"({"id":"b","name":7,"key":{"code":8,"modifiers":0,"label":"C"}})" +
                                          "\n  ]\n}\n");
    std::tie(shown, logged) = failure();
    EXPECT_EQ(shown, "shortcut-presets.json 第 6 行格式有误。");
    EXPECT_NE(logged.find("presets[1].name: expected"), std::string::npos) << logged;
    writeFileAtomically(overrideFile, head + presetJson("a", "复制") + ",\n    {\n      \"id\": \"b\"\n    }\n  ]\n}\n");
    EXPECT_EQ(failure().first, "shortcut-presets.json 第 6 行格式有误。");
    // The catalog's own failures are given as they are.
    writeFileAtomically(overrideFile, document({presetJson("a", "复制"), presetJson("b", "复制")}));
    EXPECT_EQ(failure().first, "快捷操作预设重复。");
    // A folder in the file's place is a read error, not a missing file.
    fs::remove(overrideFile);
    fs::create_directories(overrideFile);
    std::tie(shown, logged) = failure();
    EXPECT_EQ(shown, "无法读取 shortcut-presets.json：那不是一个普通文件。");
    EXPECT_NE(logged.find("shortcut-presets.json: not a regular file: Invalid argument"), std::string::npos) << logged;
    fs::remove(overrideFile);

    const std::string notFound = "未找到快捷操作预设。";
    EXPECT_EQ(failureOf([] { ShortcutPresetCatalog::bundled(std::nullopt); }), notFound);
    EXPECT_EQ(failureOf([&] { ShortcutPresetCatalog::load(overrideFile, root / "absent.bundle"); }), notFound);
    fs::remove(bundle / "shortcut-presets.json");
    EXPECT_EQ(failureOf([&] { ShortcutPresetCatalog::bundled(bundle); }), notFound);
    fs::remove_all(root);
}

// Virtual key codes of the ANSI layout, independent of the catalog, to check every preset's key.
const std::map<std::string, std::uint16_t>& keyCodes() {
    static const std::map<std::string, std::uint16_t> codes{
        {"A", 0},   {"S", 1},   {"D", 2},    {"F", 3},     {"H", 4},     {"G", 5},    {"Z", 6},    {"X", 7},
        {"C", 8},   {"V", 9},   {"B", 11},   {"Q", 12},    {"W", 13},    {"E", 14},   {"R", 15},   {"Y", 16},
        {"T", 17},  {"1", 18},  {"2", 19},   {"3", 20},    {"4", 21},    {"6", 22},   {"5", 23},   {"=", 24},
        {"9", 25},  {"7", 26},  {"-", 27},   {"8", 28},    {"0", 29},    {"]", 30},   {"O", 31},   {"U", 32},
        {"[", 33},  {"I", 34},  {"P", 35},   {"↩", 36},    {"L", 37},    {"J", 38},   {"K", 40},   {",", 43},
        {"N", 45},  {"M", 46},  {"Tab", 48}, {"空格", 49}, {"`", 50},    {"⌫", 51},   {"Esc", 53}, {"PgUp", 116},
        {"PgDn", 121}, {"←", 123}, {"→", 124}, {"↓", 125}, {"↑", 126}};
    return codes;
}

TEST(ShortcutPresetCatalogBundled, TheShippedCatalogIsValidAndUseful) {
    ASSERT_TRUE(coreResourceBundle().has_value());
    const auto catalog = ShortcutPresetCatalog::bundled();
    EXPECT_GE(catalog.presets.size(), 40u);

    const auto* dock = catalog.preset(ShortcutPresetCatalog::toggleDockID);
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->key, ShortcutKey(2, 0x80000 | 0x100000, "⌥⌘D"));  // Option-Command-D
    EXPECT_EQ(dock->icon, ShortcutIcon::dock);

    // Each label is the modifier symbols in ⌃⌥⇧⌘ order followed by the name of the key that `code` is.
    for (const auto& preset : catalog.presets) {
        SCOPED_TRACE(preset.id);
        EXPECT_TRUE(preset.id.starts_with("preset:"));
        EXPECT_EQ(preset.key.modifiers & 0x800000, 0u);
        const std::string symbols = modifierPrefix(preset.key.modifiers);
        ASSERT_TRUE(preset.key.label.starts_with(symbols));
        const auto code = keyCodes().find(preset.key.label.substr(symbols.size()));
        ASSERT_NE(code, keyCodes().end());
        EXPECT_EQ(preset.key.code, code->second);
        EXPECT_EQ(preset.key.displayLabel(), preset.key.label);
        EXPECT_TRUE(preset.mode == NamedShortcut::Mode::press && preset.enabled);
    }

    // Every icon in the file is a known symbol name (an unknown one would silently read as the keyboard).
    const auto raw = json::parse(*readFileIfPresent(*coreResourceBundle() / "shortcut-presets.json"));
    for (const auto& preset : raw["presets"]) {
        EXPECT_TRUE(fromRawValue<ShortcutIcon>(preset["icon"].get<std::string>()).has_value()) << preset["id"];
    }

    // The loop above ties each label to its code and modifiers, so the label pins the whole key.
    const std::map<std::string, std::string> expected{
        {"preset:copy", "⌘C"},        {"preset:paste", "⌘V"},         {"preset:undo", "⌘Z"},
        {"preset:redo", "⇧⌘Z"},       {"preset:switch-app", "⌘Tab"},  {"preset:spotlight", "⌘空格"},
        {"preset:input-source", "⌃空格"}, {"preset:mission-control", "⌃↑"}, {"preset:screenshot", "⇧⌘3"},
        {"preset:lock-screen", "⌃⌘Q"}};
    for (const auto& [id, label] : expected) {
        const auto* preset = catalog.preset(id);
        ASSERT_NE(preset, nullptr) << id;
        EXPECT_EQ(preset->key.label, label) << id;
    }
}

TEST(ShortcutPresetCatalogBundled, RecommendedPresetsComeFromTheBundledCatalog) {
    const auto& presets = ShortcutPresetCatalog::recommendedPresets();
    EXPECT_NE(std::find_if(presets.begin(), presets.end(),
                           [](const NamedShortcut& preset) { return preset.id == "preset:toggle-dock"; }),
              presets.end());
}

}  // namespace
}  // namespace dorvane
