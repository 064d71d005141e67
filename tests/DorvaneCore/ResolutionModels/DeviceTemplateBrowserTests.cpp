#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/DorvaneCore/ResolutionModels/SmallTemplateCatalog.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

Texts shown(const DeviceTemplateBrowser& browser) {
    Texts titles;
    for (const auto* entry : browser.entries()) titles.push_back(entry->title());
    return titles;
}

Texts names(const std::vector<DeviceTemplateBrowser::Choice>& choices) {
    Texts result;
    for (const auto& choice : choices) result.push_back(choice.name);
    return result;
}

TEST(DeviceTemplateBrowserFilters, DeviceTypeResetsTheBrandAndQueriesFoldOnBothSides) {
    DeviceTemplateBrowser browser(DeviceTemplateCatalog::decode(testing::smallTemplateCatalog()));
    EXPECT_EQ(names(browser.brandChoices()), (Texts{"全部品牌", "三星", "Apple", "联想"}));  // Apple once
    browser.chooseBrand("apple");
    EXPECT_EQ(shown(browser), (Texts{"iPhone 15", "iPad Air"}));
    browser.chooseCategory("tablet");
    EXPECT_EQ(browser.brandID(), "");
    EXPECT_EQ(names(browser.brandChoices()), (Texts{"全部品牌", "苹果平板", "联想"}));

    browser.chooseCategory("");
    for (const auto& [query, found] : std::vector<std::pair<std::string, Texts>>{
             {"galaxys24", {"Galaxy S24"}},
             {"IPHONE-15", {"iPhone 15"}},
             {"三星galaxy", {"Galaxy S24"}},  // across brand and model
             {" - ", {"Galaxy S24", "iPhone 15", "iPad Air", "Tab P12"}}}) {
        browser.setQuery(query);
        EXPECT_EQ(shown(browser), found) << query;
    }
    browser.setQuery("pixel");
    EXPECT_EQ(browser.emptyMessage(), "未找到与\u201Cpixel\u201D匹配的设备");
    browser.setQuery("");
    EXPECT_EQ(browser.emptyMessage(), "暂无匹配的设备");
}

TEST(DeviceTemplateBrowserLoading, ABrokenOverrideLeavesOnlyTheMessage) {
    const fs::path root = fs::temp_directory_path() / ("template-browser-" + std::to_string(::getpid()));
    fs::create_directories(root / "bundle");
    writeFileAtomically(root / "bundle" / DeviceTemplateCatalog::fileName, testing::smallTemplateCatalog());
    EXPECT_EQ(DeviceTemplateBrowser::loaded(root, root / "bundle").entries().size(), 4u);  // no override

    writeFileAtomically(DeviceTemplateCatalog::overrideFile(root), "{ broken");
    auto broken = DeviceTemplateBrowser::loaded(root, root / "bundle");
    EXPECT_TRUE(broken.entries().empty());
    EXPECT_EQ(names(broken.categoryChoices()), Texts{"全部"});
    EXPECT_EQ(names(broken.brandChoices()), Texts{"全部品牌"});
    broken.setQuery("ipad");
    EXPECT_EQ(broken.emptyMessage(), "无法读取设备模板");  // before the query's message
    fs::remove_all(root);
}

TEST(DeviceTemplateBrowserRows, ExistingPresetAndStatus) {
    const DeviceTemplateBrowser browser(DeviceTemplateCatalog::decode(testing::smallTemplateCatalog()));
    const auto& galaxy = *browser.entries()[0];  // 540 × 1170
    const CustomPreset fromTemplate = galaxy.preset();
    const CustomPreset sameSize{"mine", "手工", 540, 1170, 125};  // scaled 432 × 936
    const CustomPreset other{"other", "其他", 1280, 720, 100};
    struct Case {
        std::vector<CustomPreset> stored;
        std::optional<std::string> selected;
        std::optional<Dimensions> applied;
        std::string existing;
        TemplateRowStatus status;
    };
    const std::vector<Case> cases{
        {{other}, "other", Dimensions(1280, 720), "", TemplateRowStatus::addable},
        {{other, fromTemplate}, "other", Dimensions(1280, 720), fromTemplate.id, TemplateRowStatus::added},
        {{sameSize, fromTemplate}, std::nullopt, std::nullopt, "mine", TemplateRowStatus::added},
        {{fromTemplate}, fromTemplate.id, Dimensions(540, 1170), fromTemplate.id, TemplateRowStatus::inUse},
        {{fromTemplate}, fromTemplate.id, Dimensions(600, 1300), fromTemplate.id, TemplateRowStatus::added},
        {{fromTemplate}, fromTemplate.id, std::nullopt, fromTemplate.id, TemplateRowStatus::added},
        {{sameSize}, "mine", Dimensions(432, 936), "mine", TemplateRowStatus::inUse},
    };
    for (const auto& [stored, selected, applied, existing, status] : cases) {
        Preferences preferences;
        preferences.customPresets = stored;
        preferences.selectedCustomID = selected;
        const auto found = DeviceTemplateBrowser::existingPreset(galaxy, preferences);
        EXPECT_EQ(found ? found->id : "", existing);
        EXPECT_EQ(DeviceTemplateBrowser::rowStatus(galaxy, preferences, applied), status) << existing;
    }
}

}  // namespace
}  // namespace dorvane
