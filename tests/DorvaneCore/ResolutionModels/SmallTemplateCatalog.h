#pragma once

#include <string>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::testing {

// Four models under two device types; Apple is listed under both, under another name on
// tablets.
inline std::string smallTemplateCatalog() {
    const auto brand = [](const char* id, const char* name, const char* model, int width, int height) {
        const json::Json screen{{"id", "main"}, {"name", "主屏"}, {"width", width}, {"height", height}};
        return json::Json{{"id", id}, {"name", name},
                          {"models", {{{"id", "m"}, {"name", model}, {"source", "t"}, {"screens", {screen}}}}}};
    };
    const json::Json categories = {
        {{"id", "phone"}, {"name", "手机"},
         {"brands", {brand("samsung", "三星", "Galaxy S24", 1080, 2340), brand("apple", "Apple", "iPhone 15", 1179, 2556)}}},
        {{"id", "tablet"}, {"name", "平板"},
         {"brands", {brand("apple", "苹果平板", "iPad Air", 1640, 2360), brand("lenovo", "联想", "Tab P12", 1840, 2944)}}},
    };
    return json::serialize(json::Json{{"schemaVersion", 1}, {"updatedAt", "2024"}, {"categories", categories}});
}

}  // namespace dorvane::testing
