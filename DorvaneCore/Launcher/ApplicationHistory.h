#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

namespace dorvane {

// The process identifiers of recently activated applications, most recent first,
// from which the toolbar picks the application its actions target.
class ApplicationHistory {
public:
    static constexpr std::size_t capacity = 100;

    ApplicationHistory() = default;

    const std::vector<std::int32_t>& recent() const { return recent_; }

    // Moves or inserts `pid` at the front; the oldest entries beyond the capacity go.
    void activate(std::int32_t pid);

    // Keeps only the entries in `live`, in their order.
    void retain(const std::unordered_set<std::int32_t>& live);

    // The most recent entry other than `excluding` (any entry when none is given).
    std::optional<std::int32_t> previous(std::optional<std::int32_t> excluding = std::nullopt) const;

    friend bool operator==(const ApplicationHistory&, const ApplicationHistory&) = default;

private:
    std::vector<std::int32_t> recent_;
};

}  // namespace dorvane
