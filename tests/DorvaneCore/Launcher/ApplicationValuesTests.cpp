#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationHistory.h"
#include "DorvaneCore/Launcher/ApplicationSection.h"
#include "DorvaneCore/Launcher/RecentApplications.h"

namespace dorvane {
namespace {

using Ids = std::vector<std::string>;
using Pids = std::vector<std::int32_t>;

TEST(ApplicationHistory, KeepsAHundredMostRecentFirstAndPrunesToTheLiving) {
    ApplicationHistory history;
    for (std::int32_t pid = 1; pid <= 101; ++pid) history.activate(pid);
    ASSERT_EQ(history.recent().size(), 100u);
    EXPECT_EQ(history.recent().back(), 2);  // the oldest, 1, went
    history.activate(97);                   // fifth moves up, length unchanged
    EXPECT_EQ(Pids(history.recent().begin(), history.recent().begin() + 5), (Pids{97, 101, 100, 99, 98}));

    history.retain({98, 100, 1000});
    EXPECT_EQ(history.recent(), (Pids{100, 98}));
    EXPECT_EQ(history.previous(100), 98);
    EXPECT_EQ(history.previous(), 100);
    history.retain({100});
    EXPECT_EQ(history.previous(100), std::nullopt);
}

TEST(RecentApplications, CleaningRecordingAndAvailability) {
    EXPECT_EQ(RecentApplications({"", "A", "B", "A"}).identifiers(), (Ids{"A", "B"}));
    Ids seventy;
    for (int i = 0; i < 70; ++i) seventy.push_back("app." + std::to_string(i));
    RecentApplications full(seventy);
    EXPECT_EQ(full.identifiers(), Ids(seventy.begin(), seventy.begin() + 64));
    full.record("app.63");  // already last
    full.record("new");
    EXPECT_EQ(full.identifiers().size(), 64u);
    EXPECT_EQ(Ids(full.identifiers().begin(), full.identifiers().begin() + 3), (Ids{"new", "app.63", "app.0"}));
    EXPECT_EQ(full.identifiers().back(), "app.61");
    const auto before = full;
    full.record("");
    EXPECT_EQ(full, before);

    // Missing identifiers do not count towards the limit.
    const RecentApplications listed({"gone", "A", "gone2", "B", "C"});
    EXPECT_EQ(listed.available({"A", "B", "C"}, 2), (Ids{"A", "B"}));
    EXPECT_EQ(listed.available({"A", "B", "C"}, 0), Ids{});
}

TEST(ApplicationSection, EachIdentifierOnceInTheFirstListThatHoldsIt) {
    using Kind = ApplicationSection::Kind;
    struct Case {
        Ids recent, running, all;
        std::vector<ApplicationSection> expected;
    };
    const Case cases[] = {
        {{"A"}, {"A", "B"}, {"C", "A", "B"}, {{Kind::recent, {"A"}}, {Kind::running, {"B"}}, {Kind::all, {"C"}}}},
        {{}, {""}, {}, {}},
        {{"", "A", "A"}, {}, {"", "B", "A"}, {{Kind::recent, {"A"}}, {Kind::all, {"B"}}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplicationSection::make(c.recent, c.running, c.all), c.expected);
}

}  // namespace
}  // namespace dorvane
