#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DorvaneCore/Shortcuts/ShortcutIcon.h"

namespace dorvane {
namespace {

std::vector<std::string> words(ShortcutIcon icon) {
    return {keywords(icon).begin(), keywords(icon).end()};
}

using Words = std::vector<std::string>;

TEST(ShortcutIconCatalog, CountOrderAndRawValues) {
    const auto icons = allCases<ShortcutIcon>();
    ASSERT_EQ(icons.size(), 174u);
    std::set<std::string_view> symbols;
    std::size_t withKeywords = 0;
    for (std::size_t index = 0; index < icons.size(); ++index) {
        EXPECT_EQ(caseIndex(icons[index]), index);
        symbols.insert(rawValue(icons[index]));
        EXPECT_FALSE(title(icons[index]).empty());
        if (!keywords(icons[index]).empty()) {
            ++withKeywords;
            EXPECT_LT(index, 141u) << rawValue(icons[index]);
        }
    }
    EXPECT_EQ(symbols.size(), 174u);
    EXPECT_EQ(withKeywords, 141u - 34u);

    EXPECT_EQ(icons.front(), ShortcutIcon::copy);
    EXPECT_EQ(icons[17], ShortcutIcon::keyboard);
    EXPECT_EQ(icons[86], ShortcutIcon::speaker);
    EXPECT_EQ(icons[141], ShortcutIcon::map);
    EXPECT_EQ(icons.back(), ShortcutIcon::leaf);

    EXPECT_EQ(fromRawValue<ShortcutIcon>("doc.on.doc"), ShortcutIcon::copy);
    EXPECT_EQ(fromRawValue<ShortcutIcon>("Doc.On.Doc"), std::nullopt);
    EXPECT_EQ(fromRawValue<ShortcutIcon>("arrow.up.left.and.down.right.magnifyingglass"), ShortcutIcon::enlarge);
}

TEST(ShortcutIconCatalog, TitlesAndKeywordsAtStartMiddleAndEnd) {
    EXPECT_EQ(rawValue(ShortcutIcon::copy), "doc.on.doc");
    EXPECT_EQ(title(ShortcutIcon::copy), "复制");
    EXPECT_EQ(words(ShortcutIcon::copy), (Words{"复制", "copy", "c", "拷贝", "duplicate"}));
    EXPECT_EQ(words(ShortcutIcon::selectAll), (Words{"全选", "select all", "a", "勾选", "checklist"}));
    EXPECT_EQ(words(ShortcutIcon::terminal), (Words{"终端", "terminal", "cmd", "bash", "zsh", "shell", "命令行", "iterm"}));
    EXPECT_TRUE(keywords(ShortcutIcon::switching).empty());

    EXPECT_EQ(rawValue(ShortcutIcon::translate), "character.bubble.fill");
    EXPECT_EQ(title(ShortcutIcon::translate), "翻译");
    EXPECT_EQ(rawValue(ShortcutIcon::escapeKey), "escape");
    EXPECT_EQ(title(ShortcutIcon::escapeKey), "Esc");
    EXPECT_EQ(words(ShortcutIcon::escapeKey), (Words{"esc", "escape", "取消", "退出键"}));
    EXPECT_EQ(words(ShortcutIcon::pageDown), (Words{"page down", "pgdn", "向下翻页", "下一页"}));
    EXPECT_EQ(title(ShortcutIcon::findReplace), "光标");
    EXPECT_TRUE(keywords(ShortcutIcon::findReplace).empty());

    EXPECT_EQ(words(ShortcutIcon::timer), (Words{"时钟", "时间", "clock", "timer", "倒计时", "秒表"}));
    EXPECT_EQ(rawValue(ShortcutIcon::map), "map.fill");
    EXPECT_EQ(title(ShortcutIcon::bolt), "快捷");
    EXPECT_EQ(rawValue(ShortcutIcon::mention), "at");
    EXPECT_EQ(title(ShortcutIcon::leaf), "叶子");
    EXPECT_EQ(rawValue(ShortcutIcon::leaf), "leaf.fill");
    EXPECT_TRUE(keywords(ShortcutIcon::leaf).empty());

    // Three lists are shared by two icons each.
    EXPECT_EQ(words(ShortcutIcon::volumeUp), words(ShortcutIcon::speaker));
    EXPECT_EQ(words(ShortcutIcon::compose), words(ShortcutIcon::pencil));
    EXPECT_EQ(words(ShortcutIcon::clock), words(ShortcutIcon::timer));
    EXPECT_NE(title(ShortcutIcon::volumeUp), title(ShortcutIcon::speaker));
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

std::vector<ShortcutIcon> matching(std::string_view query) {
    std::vector<ShortcutIcon> found;
    for (auto icon : allCases<ShortcutIcon>()) {
        if (matches(icon, query)) found.push_back(icon);
    }
    return found;
}

TEST(ShortcutIconSearch, BlankQueryTitlesSymbolsAndKeywords) {
    EXPECT_EQ(matching("").size(), 174u);
    EXPECT_EQ(matching(" \u3000\n").size(), 174u);

    EXPECT_TRUE(matches(ShortcutIcon::copy, "COPY"));
    EXPECT_TRUE(matches(ShortcutIcon::copy, "  Copy "));
    const auto doc = matching("doc");
    for (auto icon : {ShortcutIcon::copy, ShortcutIcon::clipboard, ShortcutIcon::document}) {
        EXPECT_NE(std::find(doc.begin(), doc.end(), icon), doc.end()) << rawValue(icon);
    }
    EXPECT_TRUE(matches(ShortcutIcon::escapeKey, "esc"));       // title "Esc" lower-cased
    EXPECT_TRUE(matches(ShortcutIcon::leaf, "叶"));             // title only
    EXPECT_TRUE(matches(ShortcutIcon::leaf, "LEAF.F"));         // symbol name
    EXPECT_TRUE(matches(ShortcutIcon::selectAll, "select al"));  // keyword with a blank inside
    EXPECT_FALSE(matches(ShortcutIcon::leaf, "copy"));
    EXPECT_EQ(matching("闭麦"), (std::vector<ShortcutIcon>{ShortcutIcon::micMute}));
    // Lower-casing, not case folding: "ß" and the "ﬁ" ligature do not become
    // "ss" ("mission control", "password") or "fi" ("fill", "file").
    EXPECT_TRUE(matching("ß").empty());
    EXPECT_TRUE(matching("ﬁ").empty());
    EXPECT_EQ(matching("MISSION"), (std::vector<ShortcutIcon>{ShortcutIcon::missionControl}));
}

struct Suggestion {
    const char* name;
    const char* label;
    std::optional<ShortcutIcon> icon;
};

TEST(ShortcutIconSuggestion, EveryRuleByNameAndKey) {
    using enum ShortcutIcon;
    const std::vector<Suggestion> table{
        {"退出全屏", "", exitFullscreen}, {"最大化窗口", "", fullscreen}, {"全屏", "", fullscreen},
        {"最小化窗口", "", minimize},     {"复制", "", copy},             {"", "⌘C", copy},
        {"粘贴", "", clipboard},          {"", "⌘V", clipboard},          {"剪切", "", scissors},
        {"", "⌘X", scissors},             {"撤销", "", undo},             {"", "⌘Z", undo},
        {"重做", "", redo},               {"", "⇧⌘Z", redo},              {"", "⌘Y", redo},
        {"全选", "", selectAll},          {"", "⌘A", selectAll},          {"保存", "", save},
        {"", "⌘S", save},                 {"打印", "", printDoc},         {"", "⌘P", printDoc},
        {"聚焦", "", spotlight},          {"截屏", "", screenshot},       {"截图", "", screenshot},
        {"录屏", "", screenRecord},       {"终端", "", terminal},         {"命令行", "", terminal},
        {"代码", "", code},               {"脚本", "", script},           {"浏览器", "", safari},
        {"网页", "", safari},             {"新建标签", "", newTab},       {"", "⌘T", newTab},
        {"关闭标签", "", closeTab},       {"", "⌘W", closeTab},           {"锁屏", "", lockScreen},
        {"休眠", "", sleepMode},          {"睡眠", "", sleepMode},        {"重启", "", restart},
        {"投屏", "", airplay},            {"计算器", "", calculator},     {"便签", "", note},
        {"备忘录", "", note},             {"待办", "", todo},             {"清单", "", todo},
        {"分屏", "", splitScreen},        {"调度中心", "", missionControl}, {"启动台", "", launchpad},
        {"搜索", "", search},             {"查找", "", search},           {"", "⌘F", search},
        {"静音麦克风", "", micMute},      {"闭麦", "", micMute},          {"静音", "", mute},
        {"音量+", "", volumeUp},          {"音量加", "", volumeUp},       {"音量-", "", volumeDown},
        {"音量减", "", volumeDown},       {"声音", "", speaker},          {"音量", "", speaker},
        {"关摄像头", "", videoOff},       {"关相机", "", videoOff},       {"删除", "", trash},
        {"打开日历", "⌥K", std::nullopt}, {"", "", std::nullopt},
    };
    for (const auto& row : table) {
        EXPECT_EQ(suggestedShortcutIcon(row.name, row.label), row.icon) << row.name << " " << row.label;
    }
}

TEST(ShortcutIconSuggestion, RuleOrderAndCaseHandling) {
    // A key test of an earlier rule wins over a name test of a later one.
    EXPECT_EQ(suggestedShortcutIcon("粘贴", "⌘C"), ShortcutIcon::copy);
    EXPECT_EQ(suggestedShortcutIcon("重做", "⌘Z"), ShortcutIcon::undo);
    // A name test of an earlier rule wins over a key test of a later one.
    EXPECT_EQ(suggestedShortcutIcon("最小化", "⌘C"), ShortcutIcon::minimize);
    // The shift symbol keeps ⇧⌘T out of rule 18.
    EXPECT_EQ(suggestedShortcutIcon("", "⇧⌘T"), std::nullopt);
    EXPECT_EQ(suggestedShortcutIcon("新建标签页", "⇧⌘T"), ShortcutIcon::newTab);
    // Key labels are upper-cased, names are trimmed but not case-changed.
    EXPECT_EQ(suggestedShortcutIcon("", "⌘z"), ShortcutIcon::undo);
    EXPECT_EQ(suggestedShortcutIcon("\u3000复制 ", ""), ShortcutIcon::copy);
    // Without the command symbol a letter alone proposes nothing.
    EXPECT_EQ(suggestedShortcutIcon("", "C"), std::nullopt);
}

}  // namespace
}  // namespace dorvane
