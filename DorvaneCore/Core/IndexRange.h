#pragma once

namespace dorvane {

// The half-open run of indices lower..<upper; empty when upper ≤ lower.
struct IndexRange {
    int lower = 0;
    int upper = 0;

    constexpr int size() const { return upper > lower ? upper - lower : 0; }
    constexpr bool isEmpty() const { return upper <= lower; }
    constexpr bool contains(int index) const { return index >= lower && index < upper; }

    friend constexpr bool operator==(const IndexRange&, const IndexRange&) = default;
};

}  // namespace dorvane
