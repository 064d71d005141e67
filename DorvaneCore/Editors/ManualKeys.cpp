#include "DorvaneCore/Editors/ManualKeys.h"

namespace dorvane {

std::optional<ManualKey> manualKey(std::uint16_t code) {
    for (const auto& key : manualKeys) {
        if (key.code == code) return key;
    }
    return std::nullopt;
}

}  // namespace dorvane
