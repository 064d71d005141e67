#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationHistory.h"
#include "DorvaneCore/Launcher/ApplicationPress.h"
#include "DorvaneCore/Launcher/ApplicationSection.h"
#include "DorvaneCore/Launcher/RecentApplications.h"

namespace dorvane {
namespace {

using Ids = std::vector<std::string>;
using Pids = std::vector<std::int32_t>;

ApplicationHistory historyOf(const Pids& oldestFirst) {
    ApplicationHistory history;
    for (const auto pid : oldestFirst) history.activate(pid);
    return history;
}

TEST(ApplicationHistory, ActivateMovesToTheFrontAndKeepsAHundred) {
    auto history = historyOf({5, 4, 3, 2, 1});
    history.activate(5);  // fifth moves up, length unchanged
    EXPECT_EQ(history.recent(), (Pids{5, 1, 2, 3, 4}));

    Pids many;
    for (std::int32_t pid = 1; pid <= 101; ++pid) many.push_back(pid);
    const auto full = historyOf(many);
    ASSERT_EQ(full.recent().size(), 100u);
    EXPECT_EQ(full.recent().front(), 101);
    EXPECT_EQ(full.recent().back(), 2);  // the oldest, 1, went
}

TEST(ApplicationHistory, RetainAndPrevious) {
    auto history = historyOf({4, 3, 2, 1});
    history.retain({3, 1, 99});
    EXPECT_EQ(history.recent(), (Pids{1, 3}));
    EXPECT_EQ(history.previous(1), 3);
    EXPECT_EQ(history.previous(7), 1);
    EXPECT_EQ(history.previous(), 1);
    EXPECT_EQ(historyOf({8}).previous(8), std::nullopt);
    history.retain({});
    EXPECT_TRUE(history.recent().empty());
    EXPECT_EQ(history.previous(), std::nullopt);
}

TEST(RecentApplications, CleaningRecordingAndAvailability) {
    EXPECT_EQ(RecentApplications({"", "A", "B", "A"}).identifiers(), (Ids{"A", "B"}));
    Ids seventy;
    for (int i = 0; i < 70; ++i) seventy.push_back("app." + std::to_string(i));
    const RecentApplications cut(seventy);
    EXPECT_EQ(cut.identifiers(), Ids(seventy.begin(), seventy.begin() + 64));

    RecentApplications recent({"A", "B", "C"});
    recent.record("C");  // already last
    EXPECT_EQ(recent.identifiers(), (Ids{"C", "A", "B"}));
    const auto before = recent;
    recent.record("");
    EXPECT_EQ(recent, before);
    auto full = cut;
    full.record("new");
    EXPECT_EQ(full.identifiers().size(), 64u);
    EXPECT_EQ(full.identifiers().front(), "new");
    EXPECT_EQ(full.identifiers().back(), "app.62");

    // Missing identifiers do not count towards the limit.
    const RecentApplications listed({"gone", "A", "gone2", "B", "C"});
    EXPECT_EQ(listed.available({"A", "B", "C"}, 2), (Ids{"A", "B"}));
    EXPECT_EQ(listed.available({"A", "B", "C"}, 0), Ids{});
    EXPECT_EQ(listed.available({"A"}, -3), Ids{});
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
        {{}, {"R"}, {"R"}, {{Kind::running, {"R"}}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplicationSection::make(c.recent, c.running, c.all), c.expected);

    EXPECT_EQ((std::vector<std::string_view>{ApplicationSection{Kind::recent, {}}.title(),
                                             ApplicationSection{Kind::running, {}}.title(),
                                             ApplicationSection{Kind::all, {}}.title()}),
              (std::vector<std::string_view>{"最近", "运行中", "全部"}));
    EXPECT_EQ(fromRawValue<Kind>("运行中"), Kind::running);
    EXPECT_EQ(fromRawValue<Kind>("running"), std::nullopt);
}

TEST(ApplicationPress, PreviewsOnceAfterTheDelayAndCancelsForGood) {
    struct Step {
        double elapsed, distance;
        bool inside, fires;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        bool previewed, cancelled, launchesInside;
    };
    const Case cases[] = {
        {"quick click", {{0.2, 3, true, false}}, false, false, true},
        {"0.44 s is too early", {{0.44, 0, true, false}}, false, false, true},
        {"fires once", {{0.45, 0, true, true}, {0.6, 0, true, false}, {0.9, 2, true, false}}, true, false, false},
        {"10 pt is still within", {{0.5, 10, true, true}}, true, false, false},
        {"10.5 pt cancels", {{0.1, 10.5, true, false}, {0.5, 0, true, false}}, false, true, false},
        {"out and back in", {{0.1, 2, false, false}, {0.2, 0, true, false}}, false, true, false},
    };
    for (const auto& c : cases) {
        ApplicationPress press;
        for (const auto& step : c.steps) {
            EXPECT_EQ(press.update(step.elapsed, step.distance, step.inside), step.fires) << c.name;
        }
        EXPECT_EQ(press.previewed, c.previewed) << c.name;
        EXPECT_EQ(press.cancelled, c.cancelled) << c.name;
        EXPECT_EQ(press.shouldLaunch(true), c.launchesInside) << c.name;
        EXPECT_FALSE(press.shouldLaunch(false)) << c.name;
    }
}

}  // namespace
}  // namespace dorvane
