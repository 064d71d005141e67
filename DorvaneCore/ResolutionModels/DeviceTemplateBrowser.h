#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"
#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/ResourceBundle.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane {

// What a row of the device-template browser ends with.
enum class TemplateRowStatus {
    inUse,    // "使用中": its custom preset is selected and applied at its own size
    added,    // "已添加": a custom preset already stands for it
    addable,  // the button "添加"
};

// The device-template sheet: the catalog read when the sheet is shown, the
// three filters, and the rules that decide what is listed and how each row
// ends. Built anew each time the sheet is shown, so filters start empty.
class DeviceTemplateBrowser {
public:
    static constexpr std::string_view loadErrorMessage = "无法读取设备模板";
    static constexpr std::string_view allCategoriesTitle = "全部";
    static constexpr std::string_view allBrandsTitle = "全部品牌";

    // A choice of one of the two pickers; an empty id turns that filter off.
    struct Choice {
        std::string id;
        std::string name;
        friend bool operator==(const Choice&, const Choice&) = default;
    };

    // Reads the user's override in `supportFolder` when it exists (a broken one
    // is a failure, not a reason to fall back), otherwise the catalog in
    // `bundle`. Any failure leaves the browser without a catalog and with
    // loadError() set; the failure's own text is not kept.
    static DeviceTemplateBrowser loaded(const std::filesystem::path& supportFolder,
                                        const std::optional<std::filesystem::path>& bundle = coreResourceBundle());
    explicit DeviceTemplateBrowser(std::optional<DeviceTemplateCatalog> catalog);

    const std::optional<std::string>& loadError() const { return loadError_; }

    const std::string& categoryID() const { return categoryID_; }
    const std::string& brandID() const { return brandID_; }
    const std::string& query() const { return query_; }

    // A device type chosen by the user; the brand filter never outlives it.
    void chooseCategory(std::string id);
    void chooseBrand(std::string id);
    void setQuery(std::string query);

    // "全部" and then the catalog's categories in order.
    std::vector<Choice> categoryChoices() const;
    // "全部品牌" and then brands().
    std::vector<Choice> brandChoices() const;
    // The brands of the chosen device type (of all while none is chosen), each
    // id once under the name it first appears with.
    std::vector<DeviceTemplateCatalog::Brand> brands() const;

    // The entries the filters and the query let through, in catalog order.
    // The pointers stay valid as long as the browser.
    std::vector<const DeviceTemplateCatalog::Entry*> entries() const;

    // What the list says when entries() is empty: the load failure, else the
    // query not found (quoted as typed inside “ ”), else "暂无匹配的设备".
    std::string emptyMessage() const;

    // The first stored custom preset made from this entry, or of the entry's
    // logical size whatever its name and scale.
    static std::optional<CustomPreset> existingPreset(const DeviceTemplateCatalog::Entry& entry,
                                                      const Preferences& preferences);
    static TemplateRowStatus rowStatus(const DeviceTemplateCatalog::Entry& entry, const Preferences& preferences,
                                       const std::optional<Dimensions>& applied);

private:
    std::optional<DeviceTemplateCatalog> catalog_;
    std::vector<DeviceTemplateCatalog::Entry> entries_;
    std::vector<std::string> searchTexts_;  // folded once per load, parallel to entries_
    std::optional<std::string> loadError_;
    std::string categoryID_;
    std::string brandID_;
    std::string query_;
};

}  // namespace dorvane
