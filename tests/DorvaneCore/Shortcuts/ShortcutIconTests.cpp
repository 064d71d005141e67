#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DorvaneCore/Shortcuts/ShortcutIcon.h"

namespace dorvane {
namespace {

using Words = std::vector<std::string>;
using Icons = std::vector<ShortcutIcon>;

Words words(ShortcutIcon icon) { return {keywords(icon).begin(), keywords(icon).end()}; }

TEST(ShortcutIconCatalog, CountOrderAndSpotChecksAtStartMiddleAndEnd) {
    const auto icons = allCases<ShortcutIcon>();
    ASSERT_EQ(icons.size(), 174u);
    std::set<std::string_view> symbols;
    for (auto icon : icons) symbols.insert(rawValue(icon));
    EXPECT_EQ(symbols.size(), 174u);
    EXPECT_EQ(icons[17], ShortcutIcon::keyboard);
    EXPECT_EQ(icons[86], ShortcutIcon::speaker);
    EXPECT_EQ(icons[141], ShortcutIcon::map);
    EXPECT_EQ(fromRawValue<ShortcutIcon>("Doc.On.Doc"), std::nullopt);

    EXPECT_EQ(rawValue(icons.front()), "doc.on.doc");
    EXPECT_EQ(title(ShortcutIcon::copy), "复制");
    EXPECT_EQ(words(ShortcutIcon::copy), (Words{"复制", "copy", "c", "拷贝", "duplicate"}));
    EXPECT_EQ(rawValue(ShortcutIcon::escapeKey), "escape");
    EXPECT_EQ(title(ShortcutIcon::escapeKey), "Esc");
    EXPECT_EQ(words(ShortcutIcon::pageDown), (Words{"page down", "pgdn", "向下翻页", "下一页"}));
    EXPECT_TRUE(keywords(ShortcutIcon::findReplace).empty());
    EXPECT_EQ(words(ShortcutIcon::timer), (Words{"时钟", "时间", "clock", "timer", "倒计时", "秒表"}));
    EXPECT_EQ(icons.back(), ShortcutIcon::leaf);
    EXPECT_EQ(rawValue(ShortcutIcon::leaf), "leaf.fill");
    EXPECT_EQ(title(ShortcutIcon::leaf), "叶子");
}

// An accidental edit of any entry (a dropped keyword, a changed title) changes
// this fingerprint of the whole table; update it deliberately with the catalog.
TEST(ShortcutIconCatalog, WholeTableFingerprint) {
    std::string table;
    std::size_t keywordCount = 0;
    for (auto icon : allCases<ShortcutIcon>()) {
        table += std::string(rawValue(icon)) + "\t" + std::string(title(icon)) + "\t";
        for (std::size_t i = 0; i < keywords(icon).size(); ++i) {
            table += (i == 0 ? "" : ",") + std::string(keywords(icon)[i]);
        }
        table += "\n";
        keywordCount += keywords(icon).size();
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a, 64 bit
    for (unsigned char byte : table) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    EXPECT_EQ(keywordCount, 439u);
    EXPECT_EQ(hash, 0xf21ba018c8cfb96dull);
}

Icons matching(std::string_view query) {
    Icons found;
    for (auto icon : allCases<ShortcutIcon>()) {
        if (matches(icon, query)) found.push_back(icon);
    }
    return found;
}

TEST(ShortcutIconSearch, BlankQueryTitlesSymbolsAndKeywords) {
    EXPECT_EQ(matching(" \u3000\n").size(), 174u);
    EXPECT_TRUE(matches(ShortcutIcon::copy, "  Copy "));
    EXPECT_TRUE(matches(ShortcutIcon::escapeKey, "esc"));       // title "Esc" lower-cased
    EXPECT_TRUE(matches(ShortcutIcon::leaf, "叶"));             // title only
    EXPECT_TRUE(matches(ShortcutIcon::leaf, "LEAF.F"));         // symbol name
    EXPECT_TRUE(matches(ShortcutIcon::selectAll, "select al"));  // keyword with a blank inside
    EXPECT_FALSE(matches(ShortcutIcon::leaf, "copy"));
    EXPECT_EQ(matching("闭麦"), Icons{ShortcutIcon::micMute});
    // Lower-casing, not case folding: "ß" and the "ﬁ" ligature do not become
    // "ss" ("mission control", "password") or "fi" ("fill", "file").
    EXPECT_TRUE(matching("ß").empty());
    EXPECT_TRUE(matching("ﬁ").empty());
    EXPECT_EQ(matching("MISSION"), Icons{ShortcutIcon::missionControl});
}

struct Suggestion {
    const char* name;
    const char* label;
    std::optional<ShortcutIcon> icon;
};

TEST(ShortcutIconSuggestion, EveryRuleByNameOrKeyAndTheirOrder) {
    using enum ShortcutIcon;
    const std::vector<Suggestion> table{
        {"退出全屏", "", exitFullscreen}, {"最大化窗口", "", fullscreen}, {"全屏", "", fullscreen}, {"最小化窗口", "", minimize},
        {"复制", "", copy}, {"", "⌘C", copy}, {"粘贴", "", clipboard}, {"", "⌘V", clipboard},
        {"剪切", "", scissors}, {"", "⌘X", scissors}, {"撤销", "", undo}, {"", "⌘Z", undo},
        {"重做", "", redo}, {"", "⇧⌘Z", redo}, {"", "⌘Y", redo}, {"全选", "", selectAll},
        {"", "⌘A", selectAll}, {"保存", "", save}, {"", "⌘S", save}, {"打印", "", printDoc},
        {"", "⌘P", printDoc}, {"聚焦", "", spotlight}, {"截屏", "", screenshot}, {"截图", "", screenshot},
        {"录屏", "", screenRecord}, {"终端", "", terminal}, {"命令行", "", terminal}, {"代码", "", code},
        {"脚本", "", script}, {"浏览器", "", safari}, {"网页", "", safari}, {"新建标签", "", newTab},
        {"", "⌘T", newTab}, {"关闭标签", "", closeTab}, {"", "⌘W", closeTab}, {"锁屏", "", lockScreen},
        {"休眠", "", sleepMode}, {"睡眠", "", sleepMode}, {"重启", "", restart}, {"投屏", "", airplay},
        {"计算器", "", calculator}, {"便签", "", note}, {"备忘录", "", note}, {"待办", "", todo},
        {"清单", "", todo}, {"分屏", "", splitScreen}, {"调度中心", "", missionControl}, {"启动台", "", launchpad},
        {"搜索", "", search}, {"查找", "", search}, {"", "⌘F", search}, {"静音麦克风", "", micMute},
        {"闭麦", "", micMute}, {"静音", "", mute}, {"音量+", "", volumeUp}, {"音量加", "", volumeUp},
        {"音量-", "", volumeDown}, {"音量减", "", volumeDown}, {"声音", "", speaker}, {"音量", "", speaker},
        {"关摄像头", "", videoOff}, {"关相机", "", videoOff}, {"删除", "", trash}, {"打开日历", "⌥K", std::nullopt},
        {"", "", std::nullopt},
        // An earlier rule wins, whether its test is on the key or on the name.
        {"粘贴", "⌘C", copy}, {"重做", "⌘Z", undo}, {"最小化", "⌘C", minimize},
        // The shift symbol keeps ⇧⌘T out of the new-tab key test.
        {"", "⇧⌘T", std::nullopt}, {"新建标签页", "⇧⌘T", newTab},
        // Key labels are upper-cased, names trimmed; a letter without ⌘ proposes nothing.
        {"", "⌘z", undo}, {"\u3000复制 ", "", copy}, {"", "C", std::nullopt},
    };
    for (const auto& row : table) {
        EXPECT_EQ(suggestedShortcutIcon(row.name, row.label), row.icon) << row.name << " " << row.label;
    }
}

}  // namespace
}  // namespace dorvane
