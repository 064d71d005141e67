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

TEST(LauncherScan, FirstCopyWinsAndOnlyBundleIdentifiersRun) {
    const std::string home = "/home/user/Applications";
    const std::vector<ApplicationBundle> candidates{
        {home + "/Notes.app", "com.example.notes", "备忘录", "Notes", false},
        {home + "/Helper.app", "com.example.helper", std::nullopt, std::nullopt, true},  // background-only
        {"/Applications/Notes.app", "com.example.notes", "Notes (system)", std::nullopt, false},
        {"/Applications/B.app", std::nullopt, std::nullopt, std::nullopt, false},  // malformed information file
        {"/Applications/Blank.app", "", std::nullopt, "", false},                  // empty identifier and name
        {"/Applications/Corvelle.app", "local.Dorvane", "Corvelle", std::nullopt, false},
        {"/Applications/Utilities/Disk Tool.v2.app", "com.example.disk", std::nullopt, "Disk Tool", false},
        {"/System/Applications/Calc.app", "com.example.calc", std::nullopt, std::nullopt, false},
        {"/opt/Elsewhere/Term.app", "com.example.term", "终端", std::nullopt, false},  // running outside the folders
        {"/System/Applications/Calc.app", "com.example.calc", std::nullopt, std::nullopt, false},  // running again
    };
    const auto apps = launcherApps(
        candidates, {"com.example.term", "com.example.calc", "com.example.helper", "/Applications/B.app"});
    const std::vector<LauncherApp> expected{
        {"com.example.notes", home + "/Notes.app", "备忘录", false},
        {"/Applications/B.app", "/Applications/B.app", "B", false},
        {"/Applications/Blank.app", "/Applications/Blank.app", "", false},
        {"com.example.disk", "/Applications/Utilities/Disk Tool.v2.app", "Disk Tool", false},
        {"com.example.calc", "/System/Applications/Calc.app", "Calc", true},
        {"com.example.term", "/opt/Elsewhere/Term.app", "终端", true},
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
