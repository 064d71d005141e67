#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"

#include <algorithm>
#include <unordered_set>

#include "DorvaneCore/Catalogs/CatalogDocument.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Resolution/SupportedRange.h"
#include "DorvaneCore/Support/JsonFields.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {

constexpr std::string_view kUnsupportedFormat = "设备模板格式不支持。";
constexpr std::string_view kRepeatedID = "设备模板编号重复。";
constexpr std::string_view kNotFound = "未找到设备模板。";
constexpr std::string_view kMainScreenName = "主屏";

}  // namespace

// ---- JSON ----

namespace {

constexpr auto templateScreenFields = [](auto& f, auto& screen) {
    f.required("id", screen.id);
    f.required("name", screen.name);
    f.required("width", screen.width);
    f.required("height", screen.height);
};

constexpr auto templateModelFields = [](auto& f, auto& model) {
    f.required("id", model.id);
    f.required("name", model.name);
    f.optional("aliases", model.aliases);
    f.required("source", model.source);
    f.required("screens", model.screens);
};

constexpr auto templateBrandFields = [](auto& f, auto& brand) {
    f.required("id", brand.id);
    f.required("name", brand.name);
    f.required("models", brand.models);
};

constexpr auto templateCategoryFields = [](auto& f, auto& category) {
    f.required("id", category.id);
    f.required("name", category.name);
    f.required("brands", category.brands);
};

constexpr auto deviceTemplateCatalogFields = [](auto& f, auto& catalog) {
    f.required("schemaVersion", catalog.schemaVersion);
    f.required("updatedAt", catalog.updatedAt);
    f.required("categories", catalog.categories);
};

}  // namespace

json::Json DeviceTemplateCatalog::Screen::toJson() const { return json::writeFields(*this, templateScreenFields); }

DeviceTemplateCatalog::Screen DeviceTemplateCatalog::Screen::fromJson(const json::Json& value) {
    return json::readFields<Screen>(value, templateScreenFields);
}

json::Json DeviceTemplateCatalog::Model::toJson() const { return json::writeFields(*this, templateModelFields); }

DeviceTemplateCatalog::Model DeviceTemplateCatalog::Model::fromJson(const json::Json& value) {
    return json::readFields<Model>(value, templateModelFields);
}

json::Json DeviceTemplateCatalog::Brand::toJson() const { return json::writeFields(*this, templateBrandFields); }

DeviceTemplateCatalog::Brand DeviceTemplateCatalog::Brand::fromJson(const json::Json& value) {
    return json::readFields<Brand>(value, templateBrandFields);
}

json::Json DeviceTemplateCatalog::Category::toJson() const { return json::writeFields(*this, templateCategoryFields); }

DeviceTemplateCatalog::Category DeviceTemplateCatalog::Category::fromJson(const json::Json& value) {
    return json::readFields<Category>(value, templateCategoryFields);
}

json::Json DeviceTemplateCatalog::toJson() const { return json::writeFields(*this, deviceTemplateCatalogFields); }

DeviceTemplateCatalog DeviceTemplateCatalog::fromJson(const json::Json& value) {
    return json::readFields<DeviceTemplateCatalog>(value, deviceTemplateCatalogFields);
}

// ---- entries ----

std::string DeviceTemplateCatalog::Entry::title() const {
    if (screenName == kMainScreenName) return modelName;
    return modelName + " · " + screenName;
}

double DeviceTemplateCatalog::Entry::pixelRatio() const {
    if (categoryID == "computer" && brandID != "apple") return 1.0;
    const double ratio = static_cast<double>(std::min(width, height)) / 512.0;
    return std::clamp(ratio, 1.0, 2.0);
}

std::int64_t DeviceTemplateCatalog::Entry::logicalWidth() const {
    return flooredPoints(static_cast<double>(width) / pixelRatio());
}

std::int64_t DeviceTemplateCatalog::Entry::logicalHeight() const {
    return flooredPoints(static_cast<double>(height) / pixelRatio());
}

CustomPreset DeviceTemplateCatalog::Entry::preset() const {
    return CustomPreset{"template:catalog:" + id, title(), logicalWidth(), logicalHeight(), 100};
}

// Folded for case and diacritics, then stripped of blanks and hyphens so that
// "Galaxy S24", "galaxy-s24" and "galaxys24" compare alike.
std::string DeviceTemplateCatalog::Entry::searchForm(std::string_view text) {
    std::string folded = dorvane::text::searchKey(text);
    std::erase_if(folded, [](char c) { return c == ' ' || c == '-'; });
    return folded;
}

std::string DeviceTemplateCatalog::Entry::searchText() const {
    std::string haystack = brandName + " " + modelName + " " + screenName;
    for (const auto& alias : aliases) haystack += " " + alias;
    return searchForm(haystack);
}

bool DeviceTemplateCatalog::Entry::matches(std::string_view query) const {
    const std::string needle = searchForm(query);
    return needle.empty() || searchText().find(needle) != std::string::npos;
}

std::vector<DeviceTemplateCatalog::Entry> DeviceTemplateCatalog::entries() const {
    std::vector<Entry> rows;
    for (const auto& category : categories) {
        for (const auto& brand : category.brands) {
            for (const auto& model : brand.models) {
                for (const auto& screen : model.screens) {
                    rows.push_back(Entry{category.id + "/" + brand.id + "/" + model.id + "/" + screen.id,
                                         category.id, brand.id, brand.name, model.name, screen.name,
                                         model.aliases.value_or(std::vector<std::string>{}), screen.width,
                                         screen.height});
                }
            }
        }
    }
    return rows;
}

// ---- loading ----

DeviceTemplateCatalog DeviceTemplateCatalog::decode(std::string_view document) {
    DeviceTemplateCatalog catalog = fromJson(json::parse(document));
    if (catalog.schemaVersion != 1 || catalog.categories.empty()) {
        throw FitError::message(std::string(kUnsupportedFormat));
    }
    std::unordered_set<std::string> seen;
    for (const auto& entry : catalog.entries()) {
        if (!seen.insert(entry.id).second) throw FitError::message(std::string(kRepeatedID));
        entry.preset().validate();
    }
    return catalog;
}

DeviceTemplateCatalog DeviceTemplateCatalog::bundled(const std::optional<std::filesystem::path>& bundle) {
    return load(std::nullopt, bundle);
}

DeviceTemplateCatalog DeviceTemplateCatalog::load(const std::optional<std::filesystem::path>& overrideFile,
                                                  const std::optional<std::filesystem::path>& bundle) {
    const auto document = readCatalogDocument(overrideFile, bundle, fileName);
    if (!document) throw FitError::message(std::string(kNotFound));
    return decode(*document);
}

std::filesystem::path DeviceTemplateCatalog::overrideFile(const std::filesystem::path& supportFolder) {
    return supportFolder / fileName;
}

}  // namespace dorvane
