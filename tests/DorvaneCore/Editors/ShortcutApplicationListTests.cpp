#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Editors/ShortcutApplicationList.h"

namespace dorvane {
namespace {

// The picker's filter: applications already listed never show; a query matches the name or
// the bundle identifier ignoring case and diacritics, taken as typed (blanks count).
TEST(ShortcutApplicationListTest, ThePickerHidesListedApplicationsAndMatchesNameOrIdentifier) {
    const std::vector<ApplicationShortcuts> applications{
        {"com.example.cafe", "Café Menu", "/Applications/Café Menu.app", {}},
        {"org.mozilla.browser", "浏览器", "/Applications/Browser.app", {}},
        {"com.example.notes", "Notes", "/Applications/Notes.app", {}},
    };
    struct Case {
        std::string query;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases{
        {"", {"com.example.cafe", "org.mozilla.browser"}},
        {"CAFE", {"com.example.cafe"}},
        {"mozilla", {"org.mozilla.browser"}},
        {"浏览", {"org.mozilla.browser"}},
        {" ", {"com.example.cafe"}},  // only "Café Menu" holds a blank
        {"notes", {}},                // listed already
    };
    for (const auto& [query, shown] : cases) {
        std::vector<std::string> ids;
        for (const auto* application : pickableApplications(applications, {"com.example.notes"}, query)) {
            ids.push_back(application->bundleID);
        }
        EXPECT_EQ(ids, shown) << "'" << query << "'";
    }
}

}  // namespace
}  // namespace dorvane
