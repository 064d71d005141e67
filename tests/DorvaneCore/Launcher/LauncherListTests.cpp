#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Launcher/LauncherOrder.h"
#include "DorvaneCore/Launcher/LauncherScan.h"
#include "DorvaneCore/Launcher/LauncherSections.h"
#include "DorvaneCore/Support/LocalizedComparison.h"

namespace dorvane {

void PrintTo(const LauncherApp& app, std::ostream* out) {
    *out << "{" << app.id << ", " << app.path << ", " << app.name << (app.running ? ", running}" : "}");
}

namespace {

using Ids = std::vector<std::string>;
using Kind = ApplicationSection::Kind;

Ids ids(const std::vector<LauncherApp>& apps) {
    Ids result;
    for (const auto& app : apps) result.push_back(app.id);
    return result;
}

// The scan over a real tree (the launcher's own tests) covers folders, copies and exclusions;
// these are the identifier rules it does not reach.
TEST(LauncherScan, OnlyBundleIdentifiersRunAndEachIdentifierIsListedOnce) {
    const std::vector<ApplicationBundle> candidates{
        {"/Applications/B.app", std::nullopt, std::nullopt, std::nullopt, false},  // malformed information file
        {"/Applications/Blank.app", "", std::nullopt, "", false},                  // empty identifier and name
        {"/System/Applications/Calc.app", "com.example.calc", std::nullopt, std::nullopt, false},
        {"/System/Applications/Calc.app", "com.example.calc", std::nullopt, std::nullopt, false},  // running again
    };
    const auto apps = launcherApps(candidates, {"com.example.calc", "/Applications/B.app", "/Applications/Blank.app"});
    const std::vector<LauncherApp> expected{
        {"/Applications/B.app", "/Applications/B.app", "B", false},
        {"/Applications/Blank.app", "/Applications/Blank.app", "", false},
        {"com.example.calc", "/System/Applications/Calc.app", "Calc", true},
    };
    EXPECT_EQ(apps, expected);
    EXPECT_EQ(standardizedPath("/Applications//Utilities/./../B.app/"), "/Applications/B.app");
}

TEST(LauncherOrder, RecencyThenLaunchesThenRunningThenName) {
    const std::vector<LauncherApp> scanned{
        {"demo10", "/A/Demo 10.app", "Demo 10", false},
        {"demo2", "/A/Demo 2.app", "Demo 2", false},
        {"idle", "/A/Same.app", "Same", false},
        {"busy", "/A/Same2.app", "Same", true},
        {"twin1", "/A/Twin.app", "twin", false},
        {"twin2", "/B/Twin.app", "Twin", false},
        {"often", "/A/Zed.app", "Zed", false},
        {"recent2", "/A/Y.app", "Y", false},
        {"recent1", "/A/X.app", "X", true},
    };
    const LaunchCounts counts(LaunchCounts::Counts{{"often", 5}, {"recent2", 9}, {"demo10", -1}});
    const LauncherOrder order(RecentApplications({"recent1", "gone", "recent2"}), counts,
                              text::LocalizedComparison("zh"));
    auto apps = scanned;
    order.sort(apps);
    EXPECT_EQ(ids(apps), (Ids{"recent1", "recent2", "often", "busy", "demo2", "demo10", "idle", "twin1", "twin2"}));

    auto reversed = std::vector<LauncherApp>(scanned.rbegin(), scanned.rend());
    order.sort(reversed);
    // Only the two names equal under the comparison change places.
    EXPECT_EQ(ids(reversed),
              (Ids{"recent1", "recent2", "often", "busy", "demo2", "demo10", "idle", "twin2", "twin1"}));
}

TEST(LauncherSections, RecentRunningAllEachEntryOnceWithAtMostSixteenRecent) {
    std::vector<LauncherApp> apps;
    Ids recentIDs{"gone"};
    for (int i = 0; i < 20; ++i) {
        apps.push_back({"r" + std::to_string(i), "/A/r.app", "r", i == 0});
        recentIDs.push_back("r" + std::to_string(i));
    }
    apps.push_back({"run", "/A/run.app", "run", true});
    apps.push_back({"other", "/A/other.app", "other", false});
    const auto sections = launcherSections(apps, RecentApplications(recentIDs));
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].kind, Kind::recent);
    EXPECT_EQ(ids(sections[0].apps), Ids(recentIDs.begin() + 1, recentIDs.begin() + 17));
    EXPECT_TRUE(sections[0].apps[0].running);  // a running recent one stays under "最近", with its dot
    EXPECT_TRUE(sections[0].showsRunningDots());
    EXPECT_EQ(sections[1].title(), "运行中");
    EXPECT_FALSE(sections[1].showsRunningDots());
    EXPECT_EQ(ids(sections[1].apps), Ids{"run"});
    EXPECT_EQ(ids(sections[2].apps), (Ids{"r16", "r17", "r18", "r19", "other"}));
    EXPECT_EQ(launcherCellCount(apps.size(), sections.size()), 22u + 12u);
}

}  // namespace
}  // namespace dorvane
