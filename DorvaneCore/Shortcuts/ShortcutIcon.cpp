#include "DorvaneCore/Shortcuts/ShortcutIcon.h"

#include <string>


#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {

struct IconText {
    ShortcutIcon icon;
    std::string_view title;
    // One literal per icon, keywords separated by a comma and a blank.
    std::string_view keywords;
};

constexpr std::array<IconText, 174> kIconTexts{{
    {ShortcutIcon::copy, "复制", "复制, copy, c, 拷贝, duplicate"},
    {ShortcutIcon::clipboard, "粘贴", "粘贴, paste, v, 剪贴板, clipboard"},
    {ShortcutIcon::scissors, "剪切", "剪切, cut, x, 剪刀"},
    {ShortcutIcon::undo, "撤销", "撤销, undo, z, 返回, 后退, cancel"},
    {ShortcutIcon::redo, "重做", "重做, redo, y, 前进"},
    {ShortcutIcon::selectAll, "全选", "全选, select all, a, 勾选, checklist"},
    {ShortcutIcon::save, "保存", "保存, save, s, 存储, 存盘"},
    {ShortcutIcon::fullscreen, "全屏", "全屏, fullscreen, 最大化, max, 放大窗口"},
    {ShortcutIcon::terminal, "终端", "终端, terminal, cmd, bash, zsh, shell, 命令行, iterm"},
    {ShortcutIcon::screenshot, "截屏", "截屏, 截图, screenshot, snip"},
    {ShortcutIcon::safari, "浏览器", "浏览器, safari, chrome, 网页, web, 上网"},
    {ShortcutIcon::spotlight, "聚焦", "聚焦, spotlight, 全局搜索, search"},
    {ShortcutIcon::volumeUp, "音量加", "声音, 音量加, 调大, volume up, 喇叭"},
    {ShortcutIcon::volumeDown, "音量减", "音量减, 调小, volume down, 降音量"},
    {ShortcutIcon::mute, "静音", "静音, mute, 静音扬声器, 闭音"},
    {ShortcutIcon::lockScreen, "锁屏", "锁屏, lock screen, 屏幕锁定"},
    {ShortcutIcon::sleepMode, "休眠", "休眠, 睡眠, sleep, 待机"},
    {ShortcutIcon::keyboard, "键盘", "键盘, keyboard, 打字, 输入"},
    {ShortcutIcon::exitFullscreen, "退出全屏", "退出全屏, exit fullscreen, 还原, 小屏"},
    {ShortcutIcon::minimize, "最小化", "最小化, minimize, m, 隐藏窗口"},
    {ShortcutIcon::window, "窗口", "窗口, window, 视窗"},
    {ShortcutIcon::newWindow, "新建窗口", "新建窗口, new window"},
    {ShortcutIcon::splitScreen, "左右分屏", "左右分屏, split screen, 分屏, 平铺"},
    {ShortcutIcon::spaces, "桌面", "分屏, spaces, 桌面, 多桌面"},
    {ShortcutIcon::sidebar, "侧边栏", "侧边栏, sidebar, 边栏"},
    {ShortcutIcon::missionControl, "调度中心", "调度中心, mission control, 任务视窗, 多任务"},
    {ShortcutIcon::dock, "程序坞", "程序坞, dock"},
    {ShortcutIcon::launchpad, "启动台", "启动台, launchpad, 应用库, app"},
    {ShortcutIcon::switching, "切换", ""},
    {ShortcutIcon::splitVertical, "上下分屏", "上下分屏, 上下, split vertical, top bottom, 分屏"},
    {ShortcutIcon::grid2x2, "田字格", "田字格, 四格, 2x2, grid, 四分屏, 分屏"},
    {ShortcutIcon::threeColumns, "三列", "三列, 三栏, 3 columns, 三分屏, 分屏"},
    {ShortcutIcon::sidebarRight, "右侧边栏", "右侧边栏, 右边栏, sidebar right, 侧边栏"},
    {ShortcutIcon::leftHalf, "左半屏", "左半屏, 左半, left half, 靠左"},
    {ShortcutIcon::rightHalf, "右半屏", "右半屏, 右半, right half, 靠右"},
    {ShortcutIcon::topHalf, "上半屏", "上半屏, 上半, top half, 靠上"},
    {ShortcutIcon::bottomHalf, "下半屏", "下半屏, 下半, bottom half, 靠下"},
    {ShortcutIcon::fillWindow, "填充", "填充, 铺满, fill, 最大化, maximize"},
    {ShortcutIcon::minimizeWindow, "最小化窗口", "最小化, 最小化窗口, minimize, 收起窗口"},
    {ShortcutIcon::centerWindow, "居中", "居中, 中间, center, 居中窗口"},
    {ShortcutIcon::enlarge, "放大窗口", "放大窗口, 放大, enlarge, 全屏, 缩放"},
    {ShortcutIcon::windowStack, "窗口堆叠", "窗口堆叠, 堆叠, stack, 层叠, 多窗口"},
    {ShortcutIcon::tabs, "标签页", "标签页, 标签, tabs, 切换标签"},
    {ShortcutIcon::windowClose, "关闭窗口", "关闭窗口, 关闭, close window, 窗口"},
    {ShortcutIcon::eyeOff, "隐藏", "隐藏, 不可见, hide, 隐藏窗口"},
    {ShortcutIcon::cloud, "云", "云, 云端, cloud, 同步"},
    {ShortcutIcon::sync, "同步", "同步, 刷新, sync, 重新加载"},
    {ShortcutIcon::flashlight, "手电筒", "手电筒, 照明, flashlight"},
    {ShortcutIcon::magnet, "吸附", "吸附, 磁吸, snap, 对齐"},
    {ShortcutIcon::compose, "编辑", "编辑, 修改, edit, pencil, 写"},
    {ShortcutIcon::pencil, "铅笔", "编辑, 修改, edit, pencil, 写"},
    {ShortcutIcon::brush, "画笔", "画笔, brush, 涂鸦"},
    {ShortcutIcon::document, "文件", "文件, 文档, file, doc"},
    {ShortcutIcon::folder, "文件夹", "文件夹, 目录, folder, dir"},
    {ShortcutIcon::trash, "删除", "删除, trash, delete, 移除"},
    {ShortcutIcon::printDoc, "打印", "打印, print, p"},
    {ShortcutIcon::findReplace, "光标", ""},
    {ShortcutIcon::bold, "加粗", ""},
    {ShortcutIcon::italic, "斜体", ""},
    {ShortcutIcon::underline, "下划线", ""},
    {ShortcutIcon::text, "文字", ""},
    {ShortcutIcon::note, "备忘录", "便签, 备忘录, note, 笔记"},
    {ShortcutIcon::todo, "待办", "待办, todo, 清单, 提醒, checklist"},
    {ShortcutIcon::calculator, "计算器", "计算器, calc, calculator, 计算"},
    {ShortcutIcon::paperclip, "附件", ""},
    {ShortcutIcon::link, "链接", ""},
    {ShortcutIcon::bookmark, "书签", ""},
    {ShortcutIcon::tag, "标签", ""},
    {ShortcutIcon::pin, "图钉", ""},
    {ShortcutIcon::chart, "图表", ""},
    {ShortcutIcon::list, "列表", ""},
    {ShortcutIcon::search, "搜索", "搜索, search, f, 查找, find"},
    {ShortcutIcon::refresh, "刷新", "刷新, refresh, 重新加载, reload"},
    {ShortcutIcon::newTab, "新建标签", "新建标签, new tab, 标签页, tab"},
    {ShortcutIcon::closeTab, "关闭标签", "关闭标签, close tab"},
    {ShortcutIcon::code, "代码", "代码, code, dev, 开发, 编程, json, html"},
    {ShortcutIcon::script, "脚本", "脚本, script, 代码, sh, 命令"},
    {ShortcutIcon::share, "分享", "分享, share, 发送"},
    {ShortcutIcon::download, "下载", "下载, download"},
    {ShortcutIcon::password, "密码", "密码, password, key, 钥匙, 凭据"},
    {ShortcutIcon::translate, "翻译", "翻译, translate, 语言, 词典"},
    {ShortcutIcon::play, "播放", ""},
    {ShortcutIcon::pause, "暂停", ""},
    {ShortcutIcon::stop, "停止", ""},
    {ShortcutIcon::backward, "快退", ""},
    {ShortcutIcon::forward, "快进", ""},
    {ShortcutIcon::speaker, "声音", "声音, 音量加, 调大, volume up, 喇叭"},
    {ShortcutIcon::headphones, "耳机", ""},
    {ShortcutIcon::music, "音乐", ""},
    {ShortcutIcon::microphone, "语音", "语音, 麦克风, mic, 录音, 说话"},
    {ShortcutIcon::micMute, "麦克风静音", "麦克风静音, mic mute, 关闭麦克, 闭麦"},
    {ShortcutIcon::camera, "相机", "相机, camera, 拍照"},
    {ShortcutIcon::video, "视频", "视频, video, 摄像头, 录像"},
    {ShortcutIcon::videoOff, "关闭摄像头", "关闭摄像头, video off, 关闭相机"},
    {ShortcutIcon::screenRecord, "录屏", "录屏, 录制, screen record, 录像"},
    {ShortcutIcon::photo, "照片", ""},
    {ShortcutIcon::viewfinder, "取景", ""},
    {ShortcutIcon::display, "屏幕", "屏幕, 显示器, display, monitor, 分辨率"},
    {ShortcutIcon::settings, "设置", "设置, settings, 偏好设置, config, 首选项"},
    {ShortcutIcon::power, "电源", "电源, 关机, power, 开机"},
    {ShortcutIcon::restart, "重启", "重启, restart, reboot, 重新启动"},
    {ShortcutIcon::lock, "锁定", "锁定, lock, 锁"},
    {ShortcutIcon::unlock, "解锁", "解锁, unlock"},
    {ShortcutIcon::battery, "电量", "电量, 电池, battery, 充电"},
    {ShortcutIcon::wifi, "网络", "网络, wifi, 无线网, 网络连接"},
    {ShortcutIcon::bluetooth, "蓝牙", "蓝牙, bluetooth, bt"},
    {ShortcutIcon::airplay, "投屏", "投屏, airplay, 隔空播放, 屏幕镜像"},
    {ShortcutIcon::sun, "亮度加", "白天, 亮度加, sun, 变亮, 屏幕亮度"},
    {ShortcutIcon::brightnessDown, "亮度减", "亮度减, brightness down, 变暗"},
    {ShortcutIcon::moon, "夜间", "夜间, 暗色, 深色, moon, 暗黑模式"},
    {ShortcutIcon::bell, "通知", "通知, bell, 提醒, 闹铃"},
    {ShortcutIcon::chip, "芯片", ""},
    {ShortcutIcon::sliders, "调节", ""},
    {ShortcutIcon::escapeKey, "Esc", "esc, escape, 取消, 退出键"},
    {ShortcutIcon::tabKey, "Tab", "tab, 切换, 制表符"},
    {ShortcutIcon::returnKey, "回车", "回车, enter, return"},
    {ShortcutIcon::deleteLeft, "退格", "退格, backspace, 删除键"},
    {ShortcutIcon::command, "Command", "command, cmd, 苹果键"},
    {ShortcutIcon::optionKey, "Option", "option, alt"},
    {ShortcutIcon::arrowUp, "向上", "上, up, 向上, 方向键, 箭头"},
    {ShortcutIcon::arrowDown, "向下", "下, down, 向下, 方向键, 箭头"},
    {ShortcutIcon::arrowLeft, "向左", "左, left, 向左, 方向键, 箭头"},
    {ShortcutIcon::arrowRight, "向右", "右, right, 向右, 方向键, 箭头"},
    {ShortcutIcon::pageUp, "翻页向上", "page up, pgup, 向上翻页, 上一页"},
    {ShortcutIcon::pageDown, "翻页向下", "page down, pgdn, 向下翻页, 下一页"},
    {ShortcutIcon::pointer, "鼠标", ""},
    {ShortcutIcon::tap, "点击", ""},
    {ShortcutIcon::zoomIn, "放大", "放大, zoom in, 放大镜"},
    {ShortcutIcon::zoomOut, "缩小", "缩小, zoom out"},
    {ShortcutIcon::rotateRight, "旋转", "旋转, rotate, 翻转"},
    {ShortcutIcon::phone, "电话", ""},
    {ShortcutIcon::phoneDevice, "手机", ""},
    {ShortcutIcon::message, "信息", ""},
    {ShortcutIcon::mail, "邮件", ""},
    {ShortcutIcon::chat, "对话", ""},
    {ShortcutIcon::person, "个人", ""},
    {ShortcutIcon::people, "联系人", ""},
    {ShortcutIcon::globe, "语言", ""},
    {ShortcutIcon::calendar, "日历", "日历, calendar, 日程"},
    {ShortcutIcon::clock, "时钟", "时钟, 时间, clock, timer, 倒计时, 秒表"},
    {ShortcutIcon::timer, "计时", "时钟, 时间, clock, timer, 倒计时, 秒表"},
    {ShortcutIcon::map, "地图", ""},
    {ShortcutIcon::location, "位置", ""},
    {ShortcutIcon::cart, "购物", ""},
    {ShortcutIcon::card, "卡片", ""},
    {ShortcutIcon::gift, "礼物", ""},
    {ShortcutIcon::home, "主页", ""},
    {ShortcutIcon::game, "游戏", ""},
    {ShortcutIcon::bolt, "快捷", ""},
    {ShortcutIcon::star, "收藏", ""},
    {ShortcutIcon::heart, "喜欢", ""},
    {ShortcutIcon::flag, "标记", ""},
    {ShortcutIcon::sparkles, "高亮", ""},
    {ShortcutIcon::wand, "效果", ""},
    {ShortcutIcon::lightbulb, "想法", ""},
    {ShortcutIcon::hammer, "工具", ""},
    {ShortcutIcon::like, "赞", ""},
    {ShortcutIcon::hand, "手掌", ""},
    {ShortcutIcon::plus, "添加", ""},
    {ShortcutIcon::minus, "减少", ""},
    {ShortcutIcon::checkmark, "完成", ""},
    {ShortcutIcon::close, "关闭", ""},
    {ShortcutIcon::help, "帮助", ""},
    {ShortcutIcon::info, "说明", ""},
    {ShortcutIcon::warning, "警告", ""},
    {ShortcutIcon::eye, "显示", ""},
    {ShortcutIcon::number, "数字", ""},
    {ShortcutIcon::mention, "提及", ""},
    {ShortcutIcon::airplane, "飞行", ""},
    {ShortcutIcon::car, "汽车", ""},
    {ShortcutIcon::walk, "步行", ""},
    {ShortcutIcon::drop, "水滴", ""},
    {ShortcutIcon::flame, "火焰", ""},
    {ShortcutIcon::leaf, "叶子", ""},
}};

constexpr bool textsFollowDeclarationOrder() {
    for (std::size_t index = 0; index < kIconTexts.size(); ++index) {
        if (kIconTexts[index].icon != EnumCases<ShortcutIcon>::table[index].first) return false;
    }
    return true;
}
static_assert(textsFollowDeclarationOrder(), "icon titles must be listed in declaration order");

std::vector<std::string_view> splitKeywords(std::string_view list) {
    std::vector<std::string_view> words;
    constexpr std::string_view separator = ", ";
    while (!list.empty()) {
        const auto end = list.find(separator);
        words.push_back(list.substr(0, end));
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + separator.size());
    }
    return words;
}

// Lower-cased (not case-folded: "ß" or "ﬁ" must not turn into "ss" or "fi"
// and match words they are not part of) with the root locale.
std::string lowerCased(std::string_view text) { return text::lowerCased(text); }

// Lower-cased forms used by the picker's filter, built once.
struct SearchFields {
    std::vector<std::string_view> keywords;
    std::string title;
    std::string symbol;
    std::vector<std::string> lowerKeywords;
};

const std::vector<SearchFields>& searchFields() {
    static const std::vector<SearchFields> fields = [] {
        std::vector<SearchFields> built;
        built.reserve(kIconTexts.size());
        for (std::size_t index = 0; index < kIconTexts.size(); ++index) {
            SearchFields entry;
            entry.keywords = splitKeywords(kIconTexts[index].keywords);
            entry.title = lowerCased(kIconTexts[index].title);
            entry.symbol = lowerCased(EnumCases<ShortcutIcon>::table[index].second);
            for (auto word : entry.keywords) entry.lowerKeywords.push_back(lowerCased(word));
            built.push_back(std::move(entry));
        }
        return built;
    }();
    return fields;
}

std::string upperCased(std::string_view text) { return text::upperCased(text); }

bool contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

// A key test holds when the label holds every `required` text and not `excluded`.
struct KeyTest {
    std::array<std::string_view, 3> required;
    std::string_view excluded;

    bool holds(std::string_view label) const {
        for (auto part : required) {
            if (!part.empty() && !contains(label, part)) return false;
        }
        return excluded.empty() || !contains(label, excluded);
    }
};

struct SuggestionRule {
    std::array<std::string_view, 2> names;
    std::array<KeyTest, 2> keys;
    ShortcutIcon icon;

    bool holds(std::string_view name, std::string_view label) const {
        for (auto part : names) {
            if (!part.empty() && contains(name, part)) return true;
        }
        for (const auto& test : keys) {
            if (!test.required[0].empty() && test.holds(label)) return true;
        }
        return false;
    }
};

// The rules after the full-screen one, in the order they are tried: a key test
// of an earlier rule wins over a name test of a later one.
constexpr std::string_view kCommand = "⌘";
constexpr std::string_view kShift = "⇧";
const std::array<SuggestionRule, 36> kSuggestionRules{{
    {{"最小化"}, {}, ShortcutIcon::minimize},
    {{"复制"}, {{{{"C", kCommand}, {}}}}, ShortcutIcon::copy},
    {{"粘贴"}, {{{{"V", kCommand}, {}}}}, ShortcutIcon::clipboard},
    {{"剪切"}, {{{{"X", kCommand}, {}}}}, ShortcutIcon::scissors},
    {{"撤销"}, {{{{"Z", kCommand}, kShift}}}, ShortcutIcon::undo},
    {{"重做"}, {{{{"Z", kCommand, kShift}, {}}, {{"Y", kCommand}, {}}}}, ShortcutIcon::redo},
    {{"全选"}, {{{{"A", kCommand}, {}}}}, ShortcutIcon::selectAll},
    {{"保存"}, {{{{"S", kCommand}, {}}}}, ShortcutIcon::save},
    {{"打印"}, {{{{"P", kCommand}, {}}}}, ShortcutIcon::printDoc},
    {{"聚焦"}, {}, ShortcutIcon::spotlight},
    {{"截屏", "截图"}, {}, ShortcutIcon::screenshot},
    {{"录屏"}, {}, ShortcutIcon::screenRecord},
    {{"终端", "命令行"}, {}, ShortcutIcon::terminal},
    {{"代码"}, {}, ShortcutIcon::code},
    {{"脚本"}, {}, ShortcutIcon::script},
    {{"浏览器", "网页"}, {}, ShortcutIcon::safari},
    {{"新建标签"}, {{{{"T", kCommand}, kShift}}}, ShortcutIcon::newTab},
    {{"关闭标签"}, {{{{"W", kCommand}, {}}}}, ShortcutIcon::closeTab},
    {{"锁屏"}, {}, ShortcutIcon::lockScreen},
    {{"休眠", "睡眠"}, {}, ShortcutIcon::sleepMode},
    {{"重启"}, {}, ShortcutIcon::restart},
    {{"投屏"}, {}, ShortcutIcon::airplay},
    {{"计算器"}, {}, ShortcutIcon::calculator},
    {{"便签", "备忘录"}, {}, ShortcutIcon::note},
    {{"待办", "清单"}, {}, ShortcutIcon::todo},
    {{"分屏"}, {}, ShortcutIcon::splitScreen},
    {{"调度中心"}, {}, ShortcutIcon::missionControl},
    {{"启动台"}, {}, ShortcutIcon::launchpad},
    {{"搜索", "查找"}, {{{{"F", kCommand}, {}}}}, ShortcutIcon::search},
    {{"静音麦", "闭麦"}, {}, ShortcutIcon::micMute},
    {{"静音"}, {}, ShortcutIcon::mute},
    {{"音量+", "音量加"}, {}, ShortcutIcon::volumeUp},
    {{"音量-", "音量减"}, {}, ShortcutIcon::volumeDown},
    {{"声音", "音量"}, {}, ShortcutIcon::speaker},
    {{"关摄像头", "关相机"}, {}, ShortcutIcon::videoOff},
    {{"删除"}, {}, ShortcutIcon::trash},
}};

}  // namespace

std::string_view title(ShortcutIcon icon) { return kIconTexts[caseIndex(icon)].title; }

const std::vector<std::string_view>& keywords(ShortcutIcon icon) { return searchFields()[caseIndex(icon)].keywords; }

namespace {

// `needle` is the trimmed, lower-cased query, and not empty.
bool fieldsContain(const SearchFields& fields, std::string_view needle) {
    if (contains(fields.title, needle) || contains(fields.symbol, needle)) return true;
    for (const auto& word : fields.lowerKeywords) {
        if (contains(word, needle)) return true;
    }
    return false;
}

}  // namespace

bool matches(ShortcutIcon icon, std::string_view query) {
    const std::string needle = lowerCased(text::trimmed(query));
    return needle.empty() || fieldsContain(searchFields()[caseIndex(icon)], needle);
}

std::vector<ShortcutIcon> iconsMatching(std::string_view query) {
    constexpr auto catalog = allCases<ShortcutIcon>();
    const std::string needle = lowerCased(text::trimmed(query));
    if (needle.empty()) return {catalog.begin(), catalog.end()};
    const auto& fields = searchFields();
    std::vector<ShortcutIcon> found;
    for (std::size_t index = 0; index < catalog.size(); ++index) {
        if (fieldsContain(fields[index], needle)) found.push_back(catalog[index]);
    }
    return found;
}

std::optional<ShortcutIcon> suggestedShortcutIcon(std::string_view name, std::string_view keyLabel) {
    const std::string trimmedName = text::trimmed(name);
    const std::string label = upperCased(keyLabel);
    if (contains(trimmedName, "全屏") || contains(trimmedName, "最大化")) {
        return contains(trimmedName, "退出") ? ShortcutIcon::exitFullscreen : ShortcutIcon::fullscreen;
    }
    for (const auto& rule : kSuggestionRules) {
        if (rule.holds(trimmedName, label)) return rule.icon;
    }
    return std::nullopt;
}

}  // namespace dorvane
