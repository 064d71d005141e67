#include <gtest/gtest.h>

#include <chrono>

#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane {
namespace {

TEST(DecimalText, ShortestRoundTripInFixedNotationWithAFraction) {
    EXPECT_EQ(decimalText(60.0), "60.0");
    EXPECT_EQ(decimalText(59.94), "59.94");
    EXPECT_EQ(decimalText(5123.25), "5123.25");
    EXPECT_EQ(decimalText(100000.0), "100000.0");
    EXPECT_EQ(decimalText(0.0), "0.0");
    EXPECT_EQ(decimalText(-1.5), "-1.5");
    EXPECT_EQ(decimalText(0.1), "0.1");
    EXPECT_EQ(decimalText(1e21), "1000000000000000000000.0");
    EXPECT_EQ(decimalText(0.00002), "0.00002");
    const double awkward = 0.1 + 0.2;
    EXPECT_EQ(std::stod(decimalText(awkward)), awkward);
}

TEST(Timestamp, WritesAndReadsISO8601InUTC) {
    using namespace std::chrono;
    const sys_seconds instant = sys_days{2025y / March / 1} + 8h + 15min + 30s;
    EXPECT_EQ(iso8601UTC(instant), "2025-03-01T08:15:30Z");
    EXPECT_EQ(compactUTC(instant), "20250301T081530Z");
    EXPECT_EQ(iso8601UTC(instant + 999ms), "2025-03-01T08:15:30Z");
    EXPECT_EQ(iso8601UTC(sys_days{1969y / December / 31} + 23h + 59min + 59s + 500ms), "1969-12-31T23:59:59Z");
    EXPECT_EQ(parseISO8601UTC("2025-03-01T08:15:30Z"), system_clock::time_point(instant));
    EXPECT_EQ(parseISO8601UTC("2025-02-30T08:15:30Z"), std::nullopt);
    EXPECT_EQ(parseISO8601UTC("2025-03-01 08:15:30"), std::nullopt);
    // Times the clock cannot hold are refused, not wrapped around.
    EXPECT_EQ(parseISO8601UTC("1012-01-01T00:00:00Z"), std::nullopt);
    EXPECT_EQ(parseISO8601UTC("2263-01-01T00:00:00Z"), std::nullopt);
    EXPECT_TRUE(parseISO8601UTC("1970-01-01T00:00:00Z"));
}

}  // namespace
}  // namespace dorvane
