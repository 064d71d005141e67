#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "DorvaneCore/Core/Saturating.h"

namespace dorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();
constexpr auto kMaxInt64 = std::numeric_limits<std::int64_t>::max();
constexpr auto kMinInt64 = std::numeric_limits<std::int64_t>::min();

TEST(Saturating, ConversionsCutTowardsZeroAndSaturate) {
    const struct {
        double value;
        int asInt;
        std::int64_t asInt64;
    } cases[] = {
        {2.9, 2, 2},
        {-2.9, -2, -2},
        {kNaN, 0, 0},
        {kInf, kMaxInt, kMaxInt64},
        {-kInf, kMinInt, kMinInt64},
        {1e300, kMaxInt, kMaxInt64},
        {2147483647.5, kMaxInt, 2147483647},
        {-2147483648.5, kMinInt, -2147483648},
        {9223372036854775808.0, kMaxInt, kMaxInt64},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(saturatedInt(c.value), c.asInt) << c.value;
        EXPECT_EQ(saturatedInt64(c.value), c.asInt64) << c.value;
    }
    EXPECT_EQ(clampedInt(std::int64_t{kMaxInt} + 1), kMaxInt);
    EXPECT_EQ(clampedInt(std::int64_t{kMinInt} - 1), kMinInt);
}

}  // namespace
}  // namespace dorvane
