#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The meaning of a key in an open dropdown list.
enum class DropdownKey { up, down, commit, cancel };

// Up and down arrows, Return, keypad Enter and Space, Escape, by virtual key
// code; none for every other key, which passes on.
std::optional<DropdownKey> dropdownKey(std::uint16_t keyCode);

// Where a dropdown list opens beside its trigger, in screen points with y
// growing upwards (below the trigger means smaller y).
struct DropdownPlacement {
    enum class Edge { below, above };

    // Above only when the list does not fit below and there is strictly more
    // room above; below otherwise, ties included.
    static Edge edge(const geometry::Rect& trigger, double menuHeight, double gap, const geometry::Rect& bounds);
    // The list's frame: at least as wide as the trigger, left-aligned with it
    // and pushed inside `bounds` (the right edge wins when it is wider), its
    // height cut to the room on the chosen side; the rest scrolls.
    static geometry::Rect menuFrame(const geometry::Rect& trigger, geometry::Size size, double gap,
                                    const geometry::Rect& bounds);

    friend constexpr bool operator==(const DropdownPlacement&, const DropdownPlacement&) = default;
};

// The state of a dropdown list: its entries, the committed choice, the row
// under the keyboard or pointer, and whether the list is shown. While closed
// nothing is highlighted; a highlight is always a row of the list.
template <typename T>
class DropdownSelection : public DropdownPlacement {
public:
    DropdownSelection() = default;
    DropdownSelection(std::vector<T> items, std::optional<T> selected)
        : items_(std::move(items)), selected_(std::move(selected)) {}

    const std::vector<T>& items() const { return items_; }
    // Need not be one of the items.
    const std::optional<T>& selected() const { return selected_; }
    const std::optional<int>& highlighted() const { return highlighted_; }
    bool isOpen() const { return isOpen_; }

    // Replaces the list and the choice; a highlight past the new end moves to
    // the last row (to none when the list is empty). Never opens or closes.
    void update(std::vector<T> items, std::optional<T> selected) {
        items_ = std::move(items);
        selected_ = std::move(selected);
        if (!highlighted_ || *highlighted_ < count()) return;
        highlighted_ = items_.empty() ? std::nullopt : std::optional<int>(count() - 1);
    }

    // An empty list never opens. Highlights the selected row, else the first.
    void open() {
        if (items_.empty()) return;
        isOpen_ = true;
        const auto found = selected_ ? std::find(items_.begin(), items_.end(), *selected_) : items_.end();
        highlighted_ = found == items_.end() ? 0 : static_cast<int>(found - items_.begin());
    }

    void close() {
        isOpen_ = false;
        highlighted_.reset();
    }

    void toggle() { isOpen_ ? close() : open(); }

    // Stops at the last row; opens a closed list.
    void moveDown() {
        if (!isOpen_ || items_.empty()) return open();
        highlighted_ = std::min(highlighted_.value_or(-1) + 1, count() - 1);
    }

    // Stops at the first row; with no highlight lands on the last. Opens a closed list.
    void moveUp() {
        if (!isOpen_ || items_.empty()) return open();
        highlighted_ = std::max(highlighted_.value_or(count()) - 1, 0);
    }

    // Only while open and only for a row of the list.
    void hover(int index) {
        if (isOpen_ && isRow(index)) highlighted_ = index;
    }

    // Chooses row `index`, or the highlighted one, and closes. Returns the
    // chosen value only when the choice changed.
    std::optional<T> commit(std::optional<int> index) {
        const std::optional<int> row = isOpen_ ? (index ? index : highlighted_) : std::nullopt;
        close();
        if (!row || !isRow(*row)) return std::nullopt;
        const T& value = items_[static_cast<std::size_t>(*row)];
        const bool changed = !selected_ || !(*selected_ == value);
        selected_ = value;
        return changed ? std::optional<T>(value) : std::nullopt;
    }

    friend bool operator==(const DropdownSelection&, const DropdownSelection&) = default;

private:
    int count() const { return static_cast<int>(items_.size()); }
    bool isRow(int index) const { return index >= 0 && index < count(); }

    std::vector<T> items_;
    std::optional<T> selected_;
    std::optional<int> highlighted_;
    bool isOpen_ = false;
};

}  // namespace dorvane
