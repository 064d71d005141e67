#include "DorvaneCore/Catalogs/CatalogDocument.h"

#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {

std::optional<std::string> readCatalogDocument(const std::optional<std::filesystem::path>& overrideFile,
                                               const std::optional<std::filesystem::path>& bundle,
                                               std::string_view fileName) {
    if (overrideFile) {
        if (auto text = readFileIfPresent(*overrideFile)) return text;
    }
    if (!bundle) return std::nullopt;
    return readFileIfPresent(*bundle / fileName);
}

}  // namespace dorvane
