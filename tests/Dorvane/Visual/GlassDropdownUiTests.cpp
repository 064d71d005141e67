#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include "Dorvane/QtHostBase/LocalEventMonitor.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassDropdown.h"
#include "Dorvane/Visual/GlassMenu.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/OwnWindowHost.h"

namespace dorvane {
namespace {

using Field = GlassDropdown<std::string>;
using Item = GlassDropdownItem<std::string>;

std::vector<Item> entries(int count) {
    std::vector<Item> items;
    for (int index = 0; index < count; ++index) items.push_back({"id" + std::to_string(index), "规格 " + std::to_string(index)});
    return items;
}

// Global monitors a test drives by hand.
class FakeGlobalMonitor final : public GlobalPointerMonitor {
public:
    dispatch::Observation observe(std::function<void(const GlobalPointerEvent&)> handler) override {
        handlers.push_back(std::make_shared<std::function<void(const GlobalPointerEvent&)>>(std::move(handler)));
        std::weak_ptr<std::function<void(const GlobalPointerEvent&)>> weak = handlers.back();
        return dispatch::Observation([this, weak] {
            std::erase_if(handlers, [&weak](const auto& held) { return held == weak.lock(); });
        });
    }
    void send(GlobalPointerEvent::Kind kind) {
        const auto copy = handlers;
        for (const auto& handler : copy) (*handler)(GlobalPointerEvent{kind, {5, 5}});
    }
    std::vector<std::shared_ptr<std::function<void(const GlobalPointerEvent&)>>> handlers;
};

// A settings-like window: a text field with the focus, the dropdown field and another button.
class DropdownTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlobalPointerMonitor::setShared(&global);
        baseline = qthost::LocalEventMonitor::shared().monitorCount();
        text = new QLineEdit(&window);
        text->setGeometry(20, 20, 200, 28);
        other = new QPushButton("其他", &window);
        other->setGeometry(20, 200, 100, 28);
        QObject::connect(other, &QPushButton::clicked, [this] { ++otherClicks; });
        makeField(entries(3), "id1");
    }
    void TearDown() override {
        host.reset();
        GlobalPointerMonitor::setShared(nullptr);
        GlassDropdownPopup::setScreenAreas(nullptr);
    }

    void makeField(std::vector<Item> items, std::optional<std::string> selection, QPoint position = QPoint(20, 80)) {
        delete field.data();
        field = new Field("切换分辨率", std::move(items), std::move(selection), "请选择规格", 160,
                          [this](const std::string& id) {
                              chosen.push_back(id);
                              panelGoneWhenChosen.push_back(!field->controller().popup().isOpen());
                          },
                          &window);
        field->move(position);
        field->resize(field->sizeHint());
    }

    void show(QRect geometry = QRect(100, 100, 400, 300)) {
        testing::showActive(window, geometry);
        text->setFocus();
    }

    // The person's keyboard through the host, as `corvelle-host input key` types: the keys
    // take the program's own way to its windows. The window is the program's front window.
    void typeThroughHost(std::uint16_t code) {
        if (!host) {
            host = std::make_unique<testing::OwnWindowHost>();
            host->start();
            host->bringForward(window);
        }
        host->key(code);
    }

    GlassPanel* panel() const { return field->controller().popup().panel(); }
    const DropdownMenuView& menu() const { return *field->controller().popup().menu(); }
    QRect triggerOnScreen() const { return QRect(field->mapToGlobal(QPoint(0, 0)), field->size()); }
    void clickRow(int row) {
        const QRect rect = menu().rowRect(row);
        QTest::mouseClick(panel()->windowHandle(), Qt::LeftButton, {},
                          menu().mapTo(panel(), rect.center()));
    }

    testing::LightAppearance appearance;
    FakeGlobalMonitor global;
    std::size_t baseline = 0;
    QWidget window;
    QLineEdit* text = nullptr;
    QPushButton* other = nullptr;
    QPointer<Field> field;
    int otherClicks = 0;
    std::vector<std::string> chosen;
    std::vector<bool> panelGoneWhenChosen;
    std::unique_ptr<testing::OwnWindowHost> host;
};

// Key codes of the host's keyboard.
constexpr std::uint16_t kKeyA = 0;
constexpr std::uint16_t kReturn = 36;
constexpr std::uint16_t kEscape = 53;
constexpr std::uint16_t kDown = 125;

TEST_F(DropdownTest, ThreeEntriesOpenA92PointListUnderTheTrigger) {
    show();
    EXPECT_EQ(field->faceTitle(), QStringLiteral("规格 1"));
    testing::click(*field);
    ASSERT_TRUE(field->isOpen());
    GlassPanel* list = panel();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    const QRect trigger = triggerOnScreen();
    const QRect frame = list->glassFrame();
    EXPECT_EQ(frame.height(), 3 * 28 + 8);
    EXPECT_EQ(frame.top(), trigger.bottom() + 1 + 4);
    EXPECT_EQ(frame.left(), trigger.left());
    const double listWidth = GlassDropdownController<std::string>::menuWidth(entries(3));
    EXPECT_EQ(frame.width(), std::max(trigger.width(), static_cast<int>(std::ceil(listWidth))));
    EXPECT_TRUE(list->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(list->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_EQ(list->parentWidget(), &window) << "transient for the trigger's window";
    EXPECT_EQ(list->windowTitle(), QStringLiteral("切换分辨率"));
    EXPECT_EQ(list->level(), 101);
    EXPECT_EQ(menu().model().highlighted, 1);
    EXPECT_EQ(menu().model().rows[1].selected, true);
    EXPECT_TRUE(text->hasFocus()) << "opening takes no focus";
}

TEST_F(DropdownTest, TwelveEntriesScrollAndFollowTheHighlight) {
    makeField(entries(12), "id0");
    show();
    testing::click(*field);
    ASSERT_EQ(panel()->glassFrame().height(), 8 * 28 + 8);
    EXPECT_EQ(menu().scrollOffset(), 0);
    for (int press = 0; press < 9; ++press) testing::key(window, Qt::Key_Down);
    EXPECT_EQ(menu().model().highlighted, 9);
    EXPECT_GT(menu().scrollOffset(), 0);
    const QRect row = menu().rowRect(9);
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), menu().height()) << "the highlighted row is in view";
    testing::key(window, Qt::Key_Down);
    testing::key(window, Qt::Key_Down);
    testing::key(window, Qt::Key_Down);
    EXPECT_EQ(menu().model().highlighted, 11) << "stops at the last row";
}

TEST_F(DropdownTest, NearTheScreenBottomTheListOpensAbove) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    show(QRect(100, screen.bottom() - 140, 400, 120));
    field->move(20, 80);
    testing::settle();
    testing::click(*field);
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(panel()->glassFrame().bottom() + 1, triggerOnScreen().top() - 4);
    EXPECT_EQ(panel()->glassFrame().height(), 92);
}

TEST_F(DropdownTest, KeysChooseOnlyAChangeAndReportItOnceTheListIsGone) {
    show();
    testing::click(*field);
    typeThroughHost(kEscape);
    EXPECT_FALSE(field->isOpen());
    EXPECT_EQ(panel(), nullptr);

    testing::click(*field);
    typeThroughHost(kReturn);  // the selected row: no change
    EXPECT_FALSE(field->isOpen());

    testing::click(*field);
    typeThroughHost(kKeyA);
    typeThroughHost(kDown);
    EXPECT_TRUE(field->isOpen());
    EXPECT_EQ(text->text(), QStringLiteral("a")) << "letters reach the text field";
    typeThroughHost(kReturn);
    EXPECT_EQ(chosen, std::vector<std::string>{"id2"});
    EXPECT_EQ(panelGoneWhenChosen, std::vector<bool>{true});
    EXPECT_EQ(text->text(), QStringLiteral("a")) << "the keys the list used never reach the text field";
    EXPECT_EQ(field->faceTitle(), QStringLiteral("规格 1")) << "the owner has not republished";
    EXPECT_TRUE(text->hasFocus());
    EXPECT_EQ(qthost::LocalEventMonitor::shared().monitorCount(), baseline);
    EXPECT_EQ(host->errors.str(), "");
}

// The list stays within the host's screens, which need not be Qt's own (offscreen has
// one of 800 × 600): beyond Qt's screen it opens beside and below its trigger all the same.
TEST_F(DropdownTest, ListsOpenWithinTheHostsScreensNotQtsOwn) {
    GlassDropdownPopup::setScreenAreas([] { return std::vector<QRect>{QRect(0, 25, 1440, 875), QRect(1440, 0, 800, 600)}; });
    show(QRect(700, 520, 400, 300));
    testing::click(*field);
    ASSERT_NE(panel(), nullptr);
    const QRect trigger = triggerOnScreen();
    EXPECT_EQ(panel()->glassFrame().left(), trigger.left());
    EXPECT_EQ(panel()->glassFrame().top(), trigger.bottom() + 1 + 4) << "room enough below on the host's screen";
    testing::click(*field);

    // Near the bottom of the host's screen it opens above, and near the right edge it is
    // pushed inside.
    field->move(window.width() - field->width() - 5, 80);
    window.move(1440 - window.width() + 60, 900 - 140);
    testing::settle();
    testing::click(*field);
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(panel()->glassFrame().bottom() + 1, triggerOnScreen().top() - 4);
    EXPECT_EQ(panel()->glassFrame().right() + 1, 1440);
}

TEST_F(DropdownTest, PointerRowsHighlightAndAClickChooses) {
    show();
    testing::click(*field);
    QTest::mouseMove(panel()->windowHandle(), menu().mapTo(panel(), menu().rowRect(2).center()));
    EXPECT_EQ(menu().model().highlighted, 2);
    clickRow(0);
    EXPECT_EQ(chosen, std::vector<std::string>{"id0"});
    EXPECT_FALSE(field->isOpen());
}

// The field itself: a button whose value is the title it shows, opened by a press.
TEST_F(DropdownTest, TheFieldReadsItsChoiceAsItsValue) {
    show();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field.data());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("切换分辨率"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("规格 1"));
    EXPECT_EQ(accessible->text(QAccessible::Description), QStringLiteral("弹出选项"));
    // Assistive technology that reads values only as numbers reads the choice as the
    // field's read-only text.
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("规格 1"));
    EXPECT_EQ(text->text(3, 99), QStringLiteral("1"));
    EXPECT_EQ(text->selectionCount(), 0);
    field->setSelection(std::nullopt);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("请选择规格"));
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("请选择规格"));
    // A control that shows no value offers no text.
    ToggleSwitch toggle(QStringLiteral("开关"), ToggleSwitch::ControlSize::small);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&toggle)->textInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(field->isOpen());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(field->isOpen());
}

TEST_F(DropdownTest, RowsAreButtonsToAssistiveTechnology) {
    show();
    testing::click(*field);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(field->controller().popup().menu());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PopupMenu);
    ASSERT_EQ(list->childCount(), 3);
    QAccessibleInterface* row = list->child(2);
    EXPECT_EQ(row->role(), QAccessible::Button);
    EXPECT_EQ(row->text(QAccessible::Name), QStringLiteral("规格 2"));
    EXPECT_FALSE(row->state().checked);
    EXPECT_TRUE(list->child(1)->state().checked) << "the selected entry";
    EXPECT_EQ(list->indexOfChild(row), 2);
    row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen, std::vector<std::string>{"id2"});
    EXPECT_FALSE(field->isOpen());
}

TEST_F(DropdownTest, TheTriggerClosesWithoutReopeningAndOtherClicksStillLand) {
    show();
    testing::click(*field);
    testing::click(*field);
    EXPECT_FALSE(field->isOpen()) << "the closing click must not reopen the list";

    testing::click(*field);
    testing::click(*other);
    EXPECT_FALSE(field->isOpen());
    EXPECT_EQ(otherClicks, 1) << "the click that closed the list still reached its button";

    testing::click(*field);
    global.send(GlobalPointerEvent::Kind::mouseMoved);
    testing::settle();
    EXPECT_TRUE(field->isOpen());
    global.send(GlobalPointerEvent::Kind::rightMouseDown);
    testing::settle();
    EXPECT_FALSE(field->isOpen()) << "a click in another application closes it";

    testing::click(*field);
    window.move(window.pos() + QPoint(30, 0));
    testing::settle();
    EXPECT_FALSE(field->isOpen()) << "moving the window closes it";
    EXPECT_TRUE(chosen.empty());
}

TEST_F(DropdownTest, ChangesFromTheOwnerRedrawAnOpenListWithoutClosingIt) {
    show();
    testing::click(*field);
    field->setSelection("id2");
    EXPECT_TRUE(field->isOpen());
    EXPECT_TRUE(menu().model().rows[2].selected);
    EXPECT_EQ(field->faceTitle(), QStringLiteral("规格 2"));
    field->setItems(entries(2));
    EXPECT_TRUE(field->isOpen());
    EXPECT_EQ(menu().model().rows.size(), 2u);
    EXPECT_EQ(menu().model().highlighted, 1) << "a highlight past the end moves to the last row";
    EXPECT_EQ(field->faceTitle(), QStringLiteral("请选择规格"));
    EXPECT_FALSE(field->previewState().isOpen() && field->isPreviewOpen());
}

TEST_F(DropdownTest, AFieldShowsItsChoiceOrThePlaceholderAndAnEmptyListNeverOpens) {
    makeField({{"a", "甲"}, {"a", "乙"}}, "a");
    EXPECT_EQ(field->title(), QStringLiteral("甲")) << "the first entry with the value";
    field->setSelection("none");
    EXPECT_EQ(field->title(), QStringLiteral("请选择规格"));

    makeField({}, std::nullopt);
    show();
    testing::click(*field);
    EXPECT_FALSE(field->isOpen());
    EXPECT_EQ(qthost::LocalEventMonitor::shared().monitorCount(), baseline);

    // A field not in a shown window opens nothing.
    Field loose("切换分辨率", entries(3), "id0", "请选择规格", 160, {});
    loose.controller().toggle("切换分辨率", entries(3), "id0", {});
    EXPECT_FALSE(loose.isOpen());
}

TEST_F(DropdownTest, APreviewDrawsTheListOpenOnTheRowAfterTheSelection) {
    EXPECT_EQ(field->previewState().highlighted(), 2);
    field->setSelection("id2");
    EXPECT_EQ(field->previewState().highlighted(), 2) << "the last row stays the pointer row";
    field->setPreviewOpen(true);
    EXPECT_TRUE(field->isOpen());
    EXPECT_FALSE(field->controller().state().isOpen()) << "a preview never opens the real list";
    field->setPreviewOpen(false);
    EXPECT_FALSE(field->isOpen());
}

// A person's click through the host on the program's own window is a click like any other,
// also just beside the open list.
TEST_F(DropdownTest, AHostClickBesideTheListClosesItAndStillLands) {
    dispatch::SystemClock clock;
    qthost::QtMainQueue mainQueue;
    auto store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost app{store, processes::ProcessRole::application, clock, &mainQueue};
    host::SimulatedHost person{store, processes::ProcessRole::tool, clock};
    std::ostringstream errors;
    qthost::QtOwnWindowReporter reporter(app.ownWindows(), errors);
    show();
    reporter.start();
    testing::click(*field);
    ASSERT_TRUE(field->isOpen());
    reporter.flush();
    // The list is in the host's window list at the pop-up menu level; its shadow is not.
    const auto number = reporter.number(panel());
    ASSERT_TRUE(number.has_value());
    int listed = 0;
    for (const auto& entry : person.windowsAdmin().view().windows) {
        if (entry.pid != app.process().pid) continue;
        ++listed;
        if (entry.number == *number) {
            EXPECT_EQ(entry.layer, 101);
        }
    }
    EXPECT_EQ(listed, 2) << "the settings window and the list";
    // Two points under the list's bottom edge.
    other->move(field->x(), panel()->glassFrame().bottom() + 3 - window.geometry().top());
    const QPoint button = other->mapToGlobal(QPoint(other->width() / 2, 1));
    person.windowsAdmin().click({static_cast<double>(button.x()), static_cast<double>(button.y())}, std::nullopt);
    EXPECT_TRUE(testing::processUntil([this] { return otherClicks == 1; }));
    EXPECT_FALSE(field->isOpen());
    EXPECT_EQ(errors.str(), "");
}

// Another application coming forward makes the window resign key: an open list closes, and
// so does a glass menu; the keys then go to that application and choose nothing here.
TEST_F(DropdownTest, AnotherApplicationComingForwardClosesAListAndAMenu) {
    show();
    host = std::make_unique<testing::OwnWindowHost>();
    host->start();
    auto another = [this](const char* name) {
        host::ApplicationLaunch launch;
        launch.name = name;
        host->person.windowsAdmin().launch(launch);
    };
    host->bringForward(window);
    ASSERT_TRUE(testing::processUntil([this] { return QApplication::activeWindow() == &window; }));
    testing::click(*field);
    ASSERT_TRUE(field->isOpen());
    another("编辑器");
    EXPECT_TRUE(testing::processUntil([this] { return !field->isOpen() && panel() == nullptr; }));
    host->key(kDown);
    host->key(kReturn);
    EXPECT_TRUE(chosen.empty());

    GlassMenu menu(QStringLiteral("操作"));
    int ran = 0;
    host->bringForward(window);
    ASSERT_TRUE(testing::processUntil([this] { return QApplication::activeWindow() == &window; }));
    menu.popup(*other, {{QStringLiteral("移除应用"), true, [&ran] { ++ran; }}});
    ASSERT_TRUE(menu.isOpen());
    another("终端");
    EXPECT_TRUE(testing::processUntil([&menu] { return !menu.isOpen(); }));
    host->key(kReturn);
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(host->errors.str(), "");
}

// The open list and a glass menu as drawn: the rounded glass, not a square of the
// window's colour. A corner pixel lies outside the glass and shows what is behind the
// panel; the list's padding and the empty end of a row show the glass itself.
TEST_F(DropdownTest, ListsAndMenusDrawTheRoundedGlassInBothAppearances) {
    show();
    GlassMenu commands(QStringLiteral("操作"));
    const auto glassColour = [](QSize size) {
        NativeGlassView bare(new QWidget, DesignTokens::radiusLg, false, DesignTokens::NS::glassBackdrop);
        bare.setAttribute(Qt::WA_TranslucentBackground);
        bare.resize(size);
        return bare.grab().toImage().pixelColor(size.width() / 2, size.height() / 2);
    };
    const auto expectGlass = [&glassColour](GlassPanel& list, const DropdownMenuView& rows, const std::string& what) {
        const QImage drawn = list.grab().toImage();
        const QColor glass = glassColour(list.size());
        const QColor window = list.palette().color(QPalette::Window);
        EXPECT_EQ(testing::alphaAt(drawn, 0, 0), 0) << what << ": outside the rounded corner";
        EXPECT_EQ(testing::alphaAt(drawn, drawn.width() - 1, drawn.height() - 1), 0) << what;
        const int lastRow = static_cast<int>(rows.model().rows.size()) - 1;
        const QRect row = rows.rowRect(lastRow);
        for (const QPoint inside : {QPoint(drawn.width() / 2, 2), rows.mapTo(&list, QPoint(row.right() - 4, row.center().y()))}) {
            const QColor seen = drawn.pixelColor(inside);
            EXPECT_LE(std::abs(seen.red() - glass.red()), 2) << what << " at " << inside.x() << "," << inside.y();
            EXPECT_LE(std::abs(seen.green() - glass.green()), 2) << what;
            EXPECT_LE(std::abs(seen.blue() - glass.blue()), 2) << what;
            EXPECT_LE(std::abs(seen.alpha() - glass.alpha()), 2) << what;
            EXPECT_GT(std::abs(seen.lightness() - window.lightness()), 10) << what << ": not the window's colour";
        }
    };
    for (const bool dark : {false, true}) {
        VisualAppearance::shared().set(dark, false);
        const std::string appearance = dark ? "dark" : "light";
        testing::click(*field);
        ASSERT_NE(panel(), nullptr);
        expectGlass(*panel(), menu(), "list, " + appearance);
        testing::click(*field);

        commands.popup(*other, {{QStringLiteral("移除应用"), true, {}}, {QStringLiteral("停用"), false, {}}});
        GlassPanel* shown = commands.popup().panel();
        ASSERT_NE(shown, nullptr);
        expectGlass(*shown, *commands.popup().menu(), "menu, " + appearance);
        commands.close();
        testing::settle();
    }
}

// A field destroyed with its list open leaves nothing behind: no panel, no monitor, and
// later clicks and keys do nothing.
TEST_F(DropdownTest, AFieldDestroyedWithItsListOpenLeavesNoMonitorBehind) {
    show();
    testing::click(*field);
    QPointer<GlassPanel> list = panel();
    ASSERT_TRUE(list);
    ASSERT_GT(qthost::LocalEventMonitor::shared().monitorCount(), baseline);
    delete field.data();
    testing::settle();
    EXPECT_FALSE(list);
    EXPECT_EQ(qthost::LocalEventMonitor::shared().monitorCount(), baseline);
    EXPECT_TRUE(global.handlers.empty());

    testing::clickAt(window, QPoint(60, 90));
    testing::key(window, Qt::Key_Down);
    testing::key(window, Qt::Key_Return);
    testing::key(window, Qt::Key_B);
    global.send(GlobalPointerEvent::Kind::leftMouseDown);
    window.move(window.pos() + QPoint(10, 10));
    testing::settle();
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(text->text(), QStringLiteral("b"));
}

}  // namespace
}  // namespace dorvane
