#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::system {

// The user's defaults: values kept under keys across launches and shared by every program
// of the user. A value is a Bool, a number, a string or any other JSON value but null.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // The value under `key`; nothing when there is none or the defaults cannot be read.
    virtual std::optional<json::Json> value(const std::string& key) = 0;

    // Stores `value` under `key` in place of what was there; false when it could not be
    // stored now (one the system only put off is stored once it can). Throws
    // std::invalid_argument unless storableDefault() holds.
    virtual bool setValue(const std::string& key, const json::Json& value) = 0;

    // False when there was no value or it could not be removed.
    virtual bool removeValue(const std::string& key) = 0;

    // The value when it has that type, else nothing: the string "true" is no Bool.
    std::optional<bool> boolValue(const std::string& key);
    std::optional<double> numberValue(const std::string& key);
    std::optional<std::string> stringValue(const std::string& key);

    bool setBool(const std::string& key, bool value) { return setValue(key, json::Json(value)); }
    bool setNumber(const std::string& key, double value) { return setValue(key, json::Json(value)); }
    bool setString(const std::string& key, const std::string& value) { return setValue(key, json::Json(value)); }
};

// Why `value` cannot be kept under `key` (an empty key, null, a number anywhere in it that
// is not finite); nothing when it can.
std::optional<std::string> unstorableDefault(const std::string& key, const json::Json& value);

// Throws std::invalid_argument with unstorableDefault()'s reason.
void requireStorableDefault(const std::string& key, const json::Json& value);

}  // namespace dorvane::system
