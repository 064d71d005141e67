#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace dorvane::windows {

// Which slots of a layout are taken during picking and what a click means. `Id`
// identifies a window (the picker uses window numbers).
template <typename Id>
class WindowPickSession {
public:
    struct Outcome {
        enum class Kind {
            picked,    // the window took a slot; `count` is the 1-based slot
            complete,  // the window took the last slot
            finished,  // the click ends the session without taking a slot
        };
        Kind kind = Kind::finished;
        std::size_t count = 0;

        // The case name, with the count for `picked`: "picked(2)", "complete", "finished".
        std::string text() const {
            switch (kind) {
                case Kind::picked: return "picked(" + std::to_string(count) + ")";
                case Kind::complete: return "complete";
                case Kind::finished: return "finished";
            }
            return {};
        }
        friend bool operator==(const Outcome&, const Outcome&) = default;
    };

    // At least one slot; pre-picked windows take the first slots.
    WindowPickSession(int needed, const std::vector<Id>& prepicked)
        : needed_(static_cast<std::size_t>(std::max(needed, 1))),
          picked_(prepicked.begin(),
                  prepicked.begin() + static_cast<std::ptrdiff_t>(std::min(prepicked.size(), needed_))) {}

    std::size_t needed() const { return needed_; }
    const std::vector<Id>& picked() const { return picked_; }
    bool isComplete() const { return picked_.size() >= needed_; }

    // No window, or one already picked, ends the session; otherwise the window takes the
    // next slot.
    Outcome click(const std::optional<Id>& window) {
        using Kind = typename Outcome::Kind;
        if (!window || slot(*window)) return {Kind::finished, 0};
        picked_.push_back(*window);
        if (isComplete()) return {Kind::complete, picked_.size()};
        return {Kind::picked, picked_.size()};
    }

    // 1-based position of the window among the picked ones.
    std::optional<std::size_t> slot(const Id& window) const {
        const auto found = std::find(picked_.begin(), picked_.end(), window);
        if (found == picked_.end()) return std::nullopt;
        return static_cast<std::size_t>(found - picked_.begin()) + 1;
    }

private:
    std::size_t needed_;
    std::vector<Id> picked_;
};

}  // namespace dorvane::windows
