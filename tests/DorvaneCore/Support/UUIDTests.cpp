#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "DorvaneCore/Support/UUID.h"

namespace dorvane {
namespace {

TEST(UUIDText, CanonicalUpperCaseVersionFour) {
    // Bytes come out in the order drawn, big-endian within each draw; only the
    // version nibble and the variant bits are forced.
    std::uint64_t draws[] = {0x0123456789ABCDEFULL, 0xFEDCBA9876543210ULL};
    int next = 0;
    const RandomSource fixed = [&] { return draws[next++]; };
    EXPECT_EQ(makeUUIDString(fixed), "01234567-89AB-4DEF-BEDC-BA9876543210");

    const RandomSource ones = [] { return ~std::uint64_t{0}; };
    EXPECT_EQ(makeUUIDString(ones), "FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF");

    const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string id = makeUUIDString();
        EXPECT_TRUE(std::regex_match(id, form)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace dorvane
