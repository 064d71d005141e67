#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Json = json::Json;

Json brand(const std::string& id, const std::string& name, const std::string& model, std::int64_t width,
           std::int64_t height) {
    const Json screen{{"id", "main"}, {"name", "主屏"}, {"width", width}, {"height", height}};
    const Json models = Json::array(
        {Json{{"id", "m"}, {"name", model}, {"source", "test"}, {"screens", Json::array({screen})}}});
    return Json{{"id", id}, {"name", name}, {"models", models}};
}

// Apple appears under every device type, under another name on tablets.
std::string smallCatalog() {
    const auto category = [](const std::string& id, const std::string& name, Json brands) {
        return Json{{"id", id}, {"name", name}, {"brands", std::move(brands)}};
    };
    const Json categories = Json::array({
        category("phone", "手机",
                 Json::array({brand("samsung", "三星", "Galaxy S24", 1080, 2340),
                              brand("apple", "Apple", "iPhone 15 Pro", 1179, 2556)})),
        category("tablet", "平板",
                 Json::array({brand("apple", "苹果平板", "iPad Air", 1640, 2360),
                              brand("lenovo", "联想", "Tab P12", 1840, 2944)})),
        category("computer", "电脑", Json::array({brand("apple", "Apple", "MacBook Air", 2560, 1664)})),
    });
    return json::serialize(Json{{"schemaVersion", 1}, {"updatedAt", "2024"}, {"categories", categories}});
}

DeviceTemplateBrowser browser() { return DeviceTemplateBrowser(DeviceTemplateCatalog::decode(smallCatalog())); }

std::vector<std::string> titles(const DeviceTemplateBrowser& templates) {
    std::vector<std::string> result;
    for (const auto* entry : templates.entries()) result.push_back(entry->title());
    return result;
}

std::vector<std::string> names(const std::vector<DeviceTemplateBrowser::Choice>& choices) {
    std::vector<std::string> result;
    for (const auto& choice : choices) result.push_back(choice.name);
    return result;
}

using Titles = std::vector<std::string>;

TEST(DeviceTemplateBrowserFilters, DeviceTypeBrandAndQueryTogether) {
    auto templates = browser();
    EXPECT_EQ(names(templates.categoryChoices()), (Titles{"全部", "手机", "平板", "电脑"}));
    EXPECT_EQ(names(templates.brandChoices()), (Titles{"全部品牌", "三星", "Apple", "联想"}));  // Apple once, first name
    EXPECT_EQ(titles(templates), (Titles{"Galaxy S24", "iPhone 15 Pro", "iPad Air", "Tab P12", "MacBook Air"}));

    templates.chooseBrand("apple");
    EXPECT_EQ(titles(templates), (Titles{"iPhone 15 Pro", "iPad Air", "MacBook Air"}));
    templates.chooseCategory("tablet");
    EXPECT_EQ(templates.brandID(), "");  // a device type chosen by the user resets the brand
    EXPECT_EQ(names(templates.brandChoices()), (Titles{"全部品牌", "苹果平板", "联想"}));
    templates.chooseBrand("lenovo");
    templates.chooseCategory("tablet");  // the same type again is no change
    EXPECT_EQ(titles(templates), (Titles{"Tab P12"}));

    struct Case {
        std::string query;
        Titles found;
    };
    const std::vector<Case> cases{
        {"galaxys24", {"Galaxy S24"}},
        {"IPHONE-15", {"iPhone 15 Pro"}},
        {"三星galaxy", {"Galaxy S24"}},  // across brand and model
        {" - ", {"Galaxy S24", "iPhone 15 Pro", "iPad Air", "Tab P12", "MacBook Air"}},
        {"pixel", {}},
    };
    templates.chooseCategory("");
    for (const auto& [query, found] : cases) {
        templates.setQuery(query);
        EXPECT_EQ(titles(templates), found) << query;
    }
    EXPECT_EQ(templates.emptyMessage(), "未找到与\u201Cpixel\u201D匹配的设备");
    templates.setQuery("");
    templates.chooseCategory("computer");
    templates.chooseBrand("samsung");
    EXPECT_TRUE(templates.entries().empty());
    EXPECT_EQ(templates.emptyMessage(), "暂无匹配的设备");
}

TEST(DeviceTemplateBrowserLoading, ABrokenOverrideLeavesOnlyTheMessage) {
    const fs::path root = fs::temp_directory_path() / ("template-browser-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path bundle = root / "bundle";
    fs::create_directories(bundle);
    writeFileAtomically(bundle / DeviceTemplateCatalog::fileName, smallCatalog());

    const auto fallback = DeviceTemplateBrowser::loaded(root, bundle);  // no override: the bundled catalog
    EXPECT_FALSE(fallback.loadError());
    EXPECT_EQ(fallback.entries().size(), 5u);

    writeFileAtomically(DeviceTemplateCatalog::overrideFile(root), "{ broken");
    auto broken = DeviceTemplateBrowser::loaded(root, bundle);
    EXPECT_EQ(broken.loadError(), "无法读取设备模板");
    EXPECT_TRUE(broken.entries().empty());
    EXPECT_EQ(names(broken.categoryChoices()), (Titles{"全部"}));
    EXPECT_EQ(names(broken.brandChoices()), (Titles{"全部品牌"}));
    broken.setQuery("ipad");
    EXPECT_EQ(broken.emptyMessage(), "无法读取设备模板");  // the failure comes before the query
    fs::remove_all(root);
}

TEST(DeviceTemplateBrowserRows, ExistingPresetAndStatus) {
    const auto templates = browser();
    const auto& galaxy = *templates.entries()[0];  // 540 × 1170
    ASSERT_EQ(galaxy.preset(), (CustomPreset{"template:catalog:phone/samsung/m/main", "Galaxy S24", 540, 1170, 100}));

    const CustomPreset fromTemplate = galaxy.preset();
    const CustomPreset sameSize{"mine", "手工", 540, 1170, 125};  // another name and scale still count
    const CustomPreset other{"other", "其他", 1280, 720, 100};

    struct Case {
        const char* what;
        std::vector<CustomPreset> stored;
        std::optional<std::string> selected;
        std::optional<Dimensions> applied;
        std::optional<std::string> existing;
        TemplateRowStatus status;
    };
    const std::vector<Case> cases{
        {"nothing stands for it", {other}, "other", Dimensions(1280, 720), std::nullopt, TemplateRowStatus::addable},
        {"added from the template", {other, fromTemplate}, "other", Dimensions(1280, 720), fromTemplate.id,
         TemplateRowStatus::added},
        {"hand-made of equal size", {sameSize, fromTemplate}, std::nullopt, std::nullopt, "mine",
         TemplateRowStatus::added},
        {"selected and applied", {fromTemplate}, fromTemplate.id, Dimensions(540, 1170), fromTemplate.id,
         TemplateRowStatus::inUse},
        {"selected, applied at another size", {fromTemplate}, fromTemplate.id, Dimensions(600, 1300),
         fromTemplate.id, TemplateRowStatus::added},
        {"selected, nothing applied", {fromTemplate}, fromTemplate.id, std::nullopt, fromTemplate.id,
         TemplateRowStatus::added},
        {"selected at its scaled size", {sameSize}, "mine", Dimensions(432, 936), "mine", TemplateRowStatus::inUse},
    };
    for (const auto& [what, stored, selected, applied, existing, status] : cases) {
        Preferences preferences;
        preferences.customPresets = stored;
        preferences.selectedCustomID = selected;
        const auto found = DeviceTemplateBrowser::existingPreset(galaxy, preferences);
        EXPECT_EQ(found ? std::optional(found->id) : std::nullopt, existing) << what;
        EXPECT_EQ(DeviceTemplateBrowser::rowStatus(galaxy, preferences, applied), status) << what;
    }
}

}  // namespace
}  // namespace dorvane
