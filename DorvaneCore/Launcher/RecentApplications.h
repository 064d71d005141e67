#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The identifiers of recently activated applications as the launcher keeps them
// (a bundle identifier, or the bundle's path for an application without one), most
// recent first: no empty string, no repeat, at most `limit`.
class RecentApplications {
public:
    static constexpr std::size_t limit = 64;

    RecentApplications() = default;
    // Empty strings and repeats are dropped; the first `limit` of the rest are kept.
    explicit RecentApplications(const std::vector<std::string>& identifiers);

    const std::vector<std::string>& identifiers() const { return identifiers_; }

    // Moves or inserts `identifier` at the front; an empty one changes nothing.
    void record(const std::string& identifier);

    // The identifiers, in list order, that `present` holds, at most `count` of them.
    std::vector<std::string> available(const std::unordered_set<std::string>& present, int count) const;

    // "app-recent.json": an array of the identifiers.
    json::Json toJson() const;
    // A value that is not an array of strings fails; the array then passes through the cleaning above.
    static RecentApplications fromJson(const json::Json& value);

    friend bool operator==(const RecentApplications&, const RecentApplications&) = default;

private:
    std::vector<std::string> identifiers_;
};

}  // namespace dorvane
