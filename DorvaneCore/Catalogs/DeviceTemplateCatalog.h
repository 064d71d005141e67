#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Core/ResourceBundle.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// Phones, tablets and computers whose screens the user can turn into a custom
// custom preset with one click. The document nests categories, brands, models
// and screens; `entries()` flattens it into one selectable row per screen.
// Only the ids "computer" (category) and "apple" (brand) mean anything to the
// code: they decide the pixel ratio.
struct DeviceTemplateCatalog {
    static constexpr std::string_view fileName = "device-templates.json";

    struct Screen {
        std::string id;
        std::string name;  // "主屏" for a device's only screen
        std::int64_t width = 0;   // physical pixels
        std::int64_t height = 0;  // physical pixels

        friend bool operator==(const Screen&, const Screen&) = default;
        json::Json toJson() const;
        static Screen fromJson(const json::Json& value);
    };

    struct Model {
        std::string id;
        std::string name;
        std::optional<std::vector<std::string>> aliases;  // other names to search by
        std::string source;  // where the sizes come from; for people only
        std::vector<Screen> screens;

        friend bool operator==(const Model&, const Model&) = default;
        json::Json toJson() const;
        static Model fromJson(const json::Json& value);
    };

    struct Brand {
        std::string id;
        std::string name;
        std::vector<Model> models;

        friend bool operator==(const Brand&, const Brand&) = default;
        json::Json toJson() const;
        static Brand fromJson(const json::Json& value);
    };

    struct Category {
        std::string id;
        std::string name;
        std::vector<Brand> brands;

        friend bool operator==(const Category&, const Category&) = default;
        json::Json toJson() const;
        static Category fromJson(const json::Json& value);
    };

    // One device screen as a selectable row.
    struct Entry {
        std::string id;  // category, brand, model and screen ids joined with "/"
        std::string categoryID;
        std::string brandID;
        std::string brandName;
        std::string modelName;
        std::string screenName;
        std::vector<std::string> aliases;
        std::int64_t width = 0;
        std::int64_t height = 0;

        friend bool operator==(const Entry&, const Entry&) = default;

        // The model name, plus " · " and the screen name unless the screen is "主屏".
        std::string title() const;
        // Other computers than Apple's draw one point per pixel; everything else
        // counts the short side in 512-point units, held within 1.0 to 2.0.
        double pixelRatio() const;
        std::int64_t logicalWidth() const;   // width ÷ pixelRatio, rounded down
        std::int64_t logicalHeight() const;  // height ÷ pixelRatio, rounded down
        // The ready custom preset: id "template:catalog:" + id, the title, the logical size at 100 %.
        CustomPreset preset() const;
        // Case- and diacritic-insensitive; blanks and "-" are ignored on both
        // sides, so "galaxys24" finds "Galaxy S24". An empty query matches.
        bool matches(std::string_view query) const;
        // The two halves of matches(), for a list that folds each entry once
        // and filters it on every keystroke: the entry's brand, model, screen
        // and aliases folded and stripped, and a query folded and stripped
        // alike. An entry matches when its search text contains the query's form.
        std::string searchText() const;
        static std::string searchForm(std::string_view text);
    };

    std::int64_t schemaVersion = 1;
    std::string updatedAt;  // free-form; carried, never interpreted
    std::vector<Category> categories;

    friend bool operator==(const DeviceTemplateCatalog&, const DeviceTemplateCatalog&) = default;

    // Every screen in document order: categories, brands, models, screens.
    std::vector<Entry> entries() const;

    json::Json toJson() const;
    // Structure only; decode() adds the catalog's own rules.
    static DeviceTemplateCatalog fromJson(const json::Json& value);

    // The document accepted whole or not at all: a JSON or structure error is
    // thrown as json::DecodeError; an unsupported format, a repeated entry id
    // or a screen whose custom preset would not validate as FitError.
    static DeviceTemplateCatalog decode(std::string_view document);

    // The catalog shipped in `bundle` (the core resource bundle by default);
    // FitError "未找到设备模板。" when there is none.
    static DeviceTemplateCatalog bundled(const std::optional<std::filesystem::path>& bundle = coreResourceBundle());

    // `overrideFile` when a file exists there (its failures are thrown, with no
    // fall-back), otherwise the bundled catalog. Nothing is cached.
    static DeviceTemplateCatalog load(const std::optional<std::filesystem::path>& overrideFile,
                                      const std::optional<std::filesystem::path>& bundle = coreResourceBundle());

    // Where the user's replacement lives: the support folder plus fileName.
    static std::filesystem::path overrideFile(const std::filesystem::path& supportFolder);
};

}  // namespace dorvane
