#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// The text of a catalog shipped as `fileName` in the core resource bundle,
// which the user may replace with a file of the same name in the support folder.
//
// An override file that exists is read and nothing else: a broken override is
// the user's to see, so its read error is thrown rather than silently falling
// back to the shipped catalog. Without an override the bundle's file is read.
// nullopt means neither exists (an incomplete installation); each catalog
// reports that with its own message.
std::optional<std::string> readCatalogDocument(const std::optional<std::filesystem::path>& overrideFile,
                                               const std::optional<std::filesystem::path>& bundle,
                                               std::string_view fileName);

}  // namespace dorvane
