#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>

#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Json = json::Json;
using Entry = DeviceTemplateCatalog::Entry;

Json screen(const std::string& id, const std::string& name, std::int64_t width, std::int64_t height) {
    return Json{{"id", id}, {"name", name}, {"width", width}, {"height", height}};
}

// A document of one category holding one brand per element of `brands` (id, models).
Json document(const std::string& categoryID, const std::vector<std::pair<std::string, Json>>& brands) {
    Json list = Json::array();
    for (const auto& [id, models] : brands) list.push_back(Json{{"id", id}, {"name", id + "名"}, {"models", models}});
    return Json{{"schemaVersion", 1},
                {"updatedAt", "2024-09"},
                {"categories", Json::array({Json{{"id", categoryID}, {"name", "类别"}, {"brands", list}}})}};
}

Json model(const std::string& id, const std::string& name, Json screens) {
    return Json{{"id", id}, {"name", name}, {"source", "test"}, {"screens", std::move(screens)}};
}

Json oneScreen(const std::string& categoryID, const std::string& brandID, std::int64_t width, std::int64_t height) {
    const Json only = model("m", "型号", Json::array({screen("s", "主屏", width, height)}));
    return document(categoryID, {{brandID, Json::array({only})}});
}

// The FitError text decode() throws, or "" when it accepts the document.
std::string decodeFailure(const Json& doc) {
    try {
        DeviceTemplateCatalog::decode(json::serialize(doc));
        return "";
    } catch (const FitError& error) {
        return error.what();
    }
}

Entry entry(std::string category, std::string brandID, std::int64_t width, std::int64_t height) {
    Entry row;
    row.categoryID = std::move(category);
    row.brandID = std::move(brandID);
    row.width = width;
    row.height = height;
    return row;
}

// Phones held at 2 and Apple computers at 2 show in the shipped presets below.
TEST(DeviceTemplateEntries, PixelRatioAndLogicalSize) {
    const Entry tablet = entry("tablet", "lenovo", 800, 1280);
    EXPECT_DOUBLE_EQ(tablet.pixelRatio(), 1.5625);
    EXPECT_EQ(Dimensions(tablet.logicalWidth(), tablet.logicalHeight()), Dimensions(512, 819));

    EXPECT_DOUBLE_EQ(entry("Computer", "dell", 1920, 1080).pixelRatio(), 2.0);  // exact ids only
    EXPECT_DOUBLE_EQ(entry("computer", "Apple", 2560, 1664).pixelRatio(), 1.0);
    EXPECT_DOUBLE_EQ(entry("phone", "x", 480, 800).pixelRatio(), 1.0);
}

TEST(DeviceTemplateEntries, FlattenedInDocumentOrderWithTitlesAndPresets) {
    Json fold = model("fold", "Galaxy Z Fold6",
                      Json::array({screen("inner", "内屏", 1856, 2160), screen("cover", "外屏", 968, 2376)}));
    fold["aliases"] = Json::array({"Samsung Fold 6"});
    const Json pixel = model("fold", "Pixel 9 Pro Fold", Json::array({screen("main", "主屏", 1080, 2424)}));
    const Json doc = document("phone", {{"samsung", Json::array({fold})},
                                        {"empty", Json::array()},
                                        {"google", Json::array({pixel, model("none", "无屏幕", Json::array())})}});
    const auto entries = DeviceTemplateCatalog::decode(json::serialize(doc)).entries();
    ASSERT_EQ(entries.size(), 3u);
    // Two brands may share a model id: the path keeps the entries apart.
    EXPECT_EQ(entries[0].id, "phone/samsung/fold/inner");
    EXPECT_EQ(entries[1].id, "phone/samsung/fold/cover");
    EXPECT_EQ(entries[2].id, "phone/google/fold/main");
    EXPECT_EQ(entries[0].title(), "Galaxy Z Fold6 · 内屏");
    EXPECT_EQ(entries[0].aliases, std::vector<std::string>{"Samsung Fold 6"});
    EXPECT_EQ(entries[1].brandName, "samsung名");
    // Ratio 968 / 512: 512 × 1256.7, rounded down.
    EXPECT_EQ(entries[1].preset(), (CustomPreset{"template:catalog:phone/samsung/fold/cover", "Galaxy Z Fold6 · 外屏",
                                                 512, 1256, 100}));
    EXPECT_EQ(entries[2].preset(),
              (CustomPreset{"template:catalog:phone/google/fold/main", "Pixel 9 Pro Fold", 540, 1212, 100}));
}

TEST(DeviceTemplateDecoding, RejectsTheWholeCatalog) {
    Json doc = oneScreen("phone", "apple", 1179, 2556);
    EXPECT_EQ(decodeFailure(doc), "");
    doc["schemaVersion"] = 2;
    EXPECT_EQ(decodeFailure(doc), "设备模板格式不支持。");
    doc["schemaVersion"] = 1;
    doc["categories"] = Json::array();
    EXPECT_EQ(decodeFailure(doc), "设备模板格式不支持。");
    EXPECT_EQ(decodeFailure(document("c", {})), "");  // categories without screens: valid and empty

    const std::string sizeMessage = "宽度与高度均须在 512 至 3840 逻辑像素范围内。";
    EXPECT_EQ(decodeFailure(oneScreen("phone", "x", 480, 800)), sizeMessage);
    EXPECT_EQ(decodeFailure(oneScreen("computer", "dell", 5120, 2880)), sizeMessage);
    EXPECT_EQ(decodeFailure(oneScreen("computer", "apple", 5120, 2880)), "");

    // The first repeated id ends the decode, before the invalid screen after it.
    Json repeated = oneScreen("phone", "apple", 1179, 2556);
    auto& screens = repeated["categories"][0]["brands"][0]["models"][0]["screens"];
    screens.push_back(screen("s", "另一块", 1080, 2340));
    screens.push_back(screen("tiny", "小屏", 100, 100));
    EXPECT_EQ(decodeFailure(repeated), "设备模板编号重复。");

    // Structure errors are the JSON decoder's own; only "aliases" may be missing or null.
    Json noSource = oneScreen("phone", "apple", 1179, 2556);
    noSource["categories"][0]["brands"][0]["models"][0].erase("source");
    Json fractional = oneScreen("phone", "apple", 1179, 2556);
    fractional["categories"][0]["brands"][0]["models"][0]["screens"][0]["width"] = 1179.5;
    EXPECT_THROW(DeviceTemplateCatalog::decode(json::serialize(noSource)), json::DecodeError);
    EXPECT_THROW(DeviceTemplateCatalog::decode(json::serialize(fractional)), json::DecodeError);
    EXPECT_THROW(DeviceTemplateCatalog::decode("{\"schemaVersion\":1,"), json::DecodeError);
    Json nullAliases = oneScreen("phone", "apple", 1179, 2556);
    nullAliases["categories"][0]["brands"][0]["models"][0]["aliases"] = nullptr;
    EXPECT_EQ(decodeFailure(nullAliases), "");
}

TEST(DeviceTemplateDecoding, JsonRoundTripKeepsKeyOrderAndOmitsAbsentAliases) {
    const auto plain = DeviceTemplateCatalog::decode(json::serialize(oneScreen("phone", "apple", 1179, 2556)));
    EXPECT_EQ(json::serialize(plain.categories[0].brands[0].models[0].toJson()),
              R"({"id":"m","name":"型号","source":"test",)"
              R"("screens":[{"id":"s","name":"主屏","width":1179,"height":2556}]})");
    auto withAliases = plain;
    withAliases.categories[0].brands[0].models[0].aliases = std::vector<std::string>{"A"};
    const std::string written = json::serialize(withAliases.toJson());
    EXPECT_NE(written.find(R"("name":"型号","aliases":["A"],"source")"), std::string::npos);
    EXPECT_EQ(DeviceTemplateCatalog::decode(written), withAliases);
}

TEST(DeviceTemplateSearch, FoldsCaseAndDiacriticsAndIgnoresBlanksAndHyphens) {
    Entry row;
    row.brandName = "Samsung";
    row.modelName = "Galaxy S24 Ultra";
    row.screenName = "横屏";
    row.aliases = {"SM-S9280", "Édition Spéciale"};
    for (const char* query : {"", " - -", "GALAXY-S24", "samsunggalaxy", "S24 ULTRA横屏", "sms9280", "EDITION SPECIALE"}) {
        EXPECT_TRUE(row.matches(query)) << query;
    }
    for (const char* query : {"s25", "竖屏", "galaxy_s24"}) EXPECT_FALSE(row.matches(query)) << query;
}

TEST(DeviceTemplateLoading, AnExistingOverrideWinsAndAMissingBundleIsNotFound) {
    const fs::path root = fs::temp_directory_path() / ("device-templates-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path bundle = root / "Corvelle_DorvaneCore.bundle";
    fs::create_directories(bundle);
    writeFileAtomically(bundle / "device-templates.json", json::serialize(oneScreen("phone", "bundled", 1179, 2556)));
    const fs::path override = DeviceTemplateCatalog::overrideFile(root);
    EXPECT_EQ(override, root / "device-templates.json");
    const auto brandOf = [](const DeviceTemplateCatalog& catalog) { return catalog.categories[0].brands[0].id; };

    EXPECT_EQ(brandOf(DeviceTemplateCatalog::load(override, bundle)), "bundled");  // no override file yet
    writeFileAtomically(override, json::serialize(oneScreen("phone", "override", 1080, 2340)));
    EXPECT_EQ(brandOf(DeviceTemplateCatalog::load(override, bundle)), "override");
    EXPECT_EQ(brandOf(DeviceTemplateCatalog::load(override, std::nullopt)), "override");

    // A broken override is reported, never replaced by the shipped catalog.
    writeFileAtomically(override, "{ not json");
    EXPECT_THROW(DeviceTemplateCatalog::load(override, bundle), json::DecodeError);
    writeFileAtomically(override, json::serialize(oneScreen("phone", "override", 300, 300)));
    EXPECT_THROW(DeviceTemplateCatalog::load(override, bundle), FitError);
    fs::remove(override);
    fs::create_directory(override);
    EXPECT_THROW(DeviceTemplateCatalog::load(override, bundle), std::system_error);

    for (const auto& missing : {std::optional<fs::path>(), std::optional<fs::path>(root / "none")}) {
        try {
            DeviceTemplateCatalog::load(root / "absent.json", missing);
            ADD_FAILURE() << "loaded without a catalog";
        } catch (const FitError& error) {
            EXPECT_STREQ(error.what(), "未找到设备模板。");
        }
    }
    fs::remove_all(root);
}

TEST(DeviceTemplateBundled, ShippedCatalogLoadsAndEveryEntryIsAValidPreset) {
    const auto catalog = DeviceTemplateCatalog::bundled();  // through the core bundle lookup
    const auto entries = catalog.entries();
    ASSERT_GE(entries.size(), 100u);
    ASSERT_EQ(catalog.categories.size(), 3u);
    EXPECT_EQ(catalog.categories[2].id, "computer");

    std::set<std::string> brands;
    for (const auto& row : entries) {
        brands.insert(row.categoryID + "/" + row.brandID);
        EXPECT_NO_THROW(row.preset().validate()) << row.id;
        EXPECT_TRUE(row.matches(row.modelName)) << row.id;
    }
    for (const char* expected : {"phone/apple", "phone/huawei", "phone/xiaomi", "phone/samsung", "phone/oppo",
                                 "phone/vivo", "phone/google", "tablet/apple", "tablet/huawei", "tablet/samsung",
                                 "computer/apple", "computer/generic"}) {
        EXPECT_TRUE(brands.contains(expected)) << expected;
    }
    const auto find = [&](const std::string& id) {
        for (const auto& row : entries) {
            if (row.id == id) return row.preset();
        }
        return CustomPreset{};
    };
    EXPECT_EQ(find("phone/apple/iphone-16/portrait"),
              (CustomPreset{"template:catalog:phone/apple/iphone-16/portrait", "iPhone 16 · 竖屏", 589, 1278, 100}));
    EXPECT_EQ(find("computer/apple/macbook-air-13/main").width, 1280);
    EXPECT_EQ(find("computer/generic/fhd-1080p/main").width, 1920);
}

}  // namespace
}  // namespace dorvane
