#include "Platform/System/UserDefaults.h"

#include <cmath>
#include <stdexcept>

namespace dorvane::system {

namespace {

// JSON text has no NaN or infinity: such a number would come back as null.
bool numbersAreFinite(const json::Json& value) {
    if (value.is_number_float()) return std::isfinite(value.get<double>());
    if (value.is_structured()) {
        for (const auto& element : value) {
            if (!numbersAreFinite(element)) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<bool> UserDefaults::boolValue(const std::string& key) {
    const auto stored = value(key);
    if (!stored || !stored->is_boolean()) return std::nullopt;
    return stored->get<bool>();
}

std::optional<double> UserDefaults::numberValue(const std::string& key) {
    const auto stored = value(key);
    if (!stored || !stored->is_number()) return std::nullopt;
    return stored->get<double>();
}

std::optional<std::string> UserDefaults::stringValue(const std::string& key) {
    const auto stored = value(key);
    if (!stored || !stored->is_string()) return std::nullopt;
    return stored->get<std::string>();
}

std::optional<std::string> unstorableDefault(const std::string& key, const json::Json& value) {
    if (key.empty()) return "a default needs a key";
    if (value.is_null()) return "null is no value (remove the key instead)";
    if (!numbersAreFinite(value)) return "a number in a default must be finite";
    return std::nullopt;
}

void requireStorableDefault(const std::string& key, const json::Json& value) {
    if (const auto reason = unstorableDefault(key, value)) throw std::invalid_argument(*reason);
}

}  // namespace dorvane::system
