#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <regex>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Dorvane/Settings/AutomaticResolutionSettings.h"
#include "Dorvane/Settings/ConnectionSettingsPage.h"
#include "Dorvane/Settings/GeneralSettingsPage.h"
#include "Dorvane/Settings/OperationCardView.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/ResolutionPresetRow.h"
#include "Dorvane/Settings/ResolutionSettingsPage.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Settings/SettingsSidebar.h"
#include "Dorvane/Settings/SpecEditor.h"
#include "Dorvane/Settings/TouchSettingsPage.h"
#include "Dorvane/Visual/DropdownMenuView.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "tests/Dorvane/Settings/SettingsUiSupport.h"
#include "tests/Support/ColourContrast.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;

class SettingsViewTest : public testing::SettingsViewHarness {};

TEST_F(SettingsViewTest, ANewPresetStartsOnTheResolutionPageSizedLikeTheSelection) {
    const std::regex upperCaseUUID("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    struct Case {
        std::optional<std::string> selected;
        std::string width, height;
    };
    const Dimensions builtIn = dimensions(ScreenPreset::tablet, DisplaySize::moreSpace);
    for (const auto& [selected, width, height] :
         std::vector<Case>{{"office", "1536", "864"},
                           {std::nullopt, std::to_string(builtIn.width), std::to_string(builtIn.height)}}) {
        panel.edit([&selected](Preferences& p) {
            p.preset = ScreenPreset::tablet;
            p.size = DisplaySize::moreSpace;
            p.customPresets = {{"office", "办公", 1920, 1080, 125}};
            p.selectedCustomID = selected;
        });
        SettingsView& settings = open(true, SettingsPage::general);
        EXPECT_EQ(settings.state().page, SettingsPage::resolution);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(settings.sidebar()->row(SettingsPage::resolution))->state().selected);
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(settings.sidebar()->row(SettingsPage::general))->state().selected);
        ASSERT_TRUE(settings.state().draft);
        const SpecDraft& draft = *settings.state().draft;
        EXPECT_TRUE(std::regex_match(draft.id, upperCaseUUID)) << draft.id;
        EXPECT_EQ(draft, (SpecDraft{draft.id, "", width, height, true, 100}));
    }
    SettingsView& plain = open(false, SettingsPage::touch);
    EXPECT_EQ(plain.state().page, SettingsPage::touch);
    EXPECT_FALSE(plain.state().draft);
}

// Every control of the three pages: one click, one call with the new value; the control
// shows the model's value, so without a republish it shows the old one again.
TEST_F(SettingsViewTest, EachControlCallsItsCallbackOnceAndShowsOnlyWhatTheModelPublishes) {
    open();
    struct Case {
        SettingsPage page;
        std::function<QAbstractButton*()> control;
        std::string call;
        std::function<bool()> showsNew;
    };
    auto general = [this] { return dynamic_cast<GeneralSettingsPage*>(view->currentPage()); };
    auto connection = [this] { return dynamic_cast<ConnectionSettingsPage*>(view->currentPage())->settings(); };
    auto touch = [this] { return dynamic_cast<TouchSettingsPage*>(view->currentPage()); };
    const std::vector<Case> cases{
        {SettingsPage::general, [&] { return general()->themePicker()->segment(1); }, "onTheme(light)",
         [&] { return general()->themePicker()->selectedIndex() == 1; }},
        {SettingsPage::general, [&] { return general()->toolbarWhenConnectedSwitch(); },
         "onToolbarWhenConnectedToggle(false)", [&] { return !general()->toolbarWhenConnectedSwitch()->isOn(); }},
        {SettingsPage::general, [&] { return general()->toolbarWhenDisconnectedSwitch(); },
         "onToolbarWhenDisconnectedToggle(true)", [&] { return general()->toolbarWhenDisconnectedSwitch()->isOn(); }},
        {SettingsPage::general, [&] { return general()->toolbarSidePicker()->segment(2); }, "onToolbarSide(top)",
         [&] { return general()->toolbarSidePicker()->selectedIndex() == 2; }},
        {SettingsPage::connection, [&] { return connection()->switchOnConnectSwitch(); }, "onAutoResolutionToggle(true)",
         [&] { return connection()->switchOnConnectSwitch()->isOn(); }},
        {SettingsPage::connection, [&] { return connection()->restoreSwitch(); }, "onAutoRestoreToggle(false)",
         [&] { return !connection()->restoreSwitch()->isOn(); }},
        {SettingsPage::connection, [&] { return connection()->fillWindowsSwitch(); }, "onAutoFillWindowsToggle(true)",
         [&] { return connection()->fillWindowsSwitch()->isOn(); }},
        {SettingsPage::connection, [&] { return connection()->showDockSwitch(); }, "onAutoShowDockToggle(true)",
         [&] { return connection()->showDockSwitch()->isOn(); }},
        {SettingsPage::touch, [&] { return touch()->touchScrollSwitch(); }, "onUUTouchScrollToggle(true)",
         [&] { return touch()->touchScrollSwitch()->isOn(); }},
    };
    for (const bool republish : {false, true}) {
        const Preferences before = panel.model.preferences();
        for (const auto& [page, control, call, showsNew] : cases) {
            view->setPage(page);
            settle();
            panel.republish = republish;
            panel.calls.clear();
            click(*control());
            EXPECT_EQ(panel.calls, std::vector<std::string>{call}) << call;
            EXPECT_EQ(showsNew(), republish) << call << (republish ? " after a republish" : " without one");
        }
        if (!republish) {
            EXPECT_EQ(panel.model.preferences(), before);
        }
    }
}

TEST_F(SettingsViewTest, NothingRespondsWhileApplyingOrTerminating) {
    open(false, SettingsPage::touch);
    for (const auto& busy : std::vector<std::function<void(bool)>>{
             [this](bool on) { panel.model.setApplying(on); }, [this](bool on) { panel.model.setTerminating(on); }}) {
        busy(true);
        panel.calls.clear();
        click(*view->sidebar()->row(SettingsPage::general));
        EXPECT_EQ(view->state().page, SettingsPage::touch);
        click(*dynamic_cast<TouchSettingsPage*>(view->currentPage())->touchScrollSwitch());
        click(*view->sidebar()->warning());
        EXPECT_TRUE(panel.calls.empty());
        EXPECT_FALSE(tracker->isGuideOpen());
        busy(false);
        click(*view->sidebar()->row(SettingsPage::connection));
        EXPECT_EQ(view->state().page, SettingsPage::connection);
        view->setPage(SettingsPage::touch);
    }
}

// The alert hangs from the window's top edge over the dimmed window, "取消" (the default)
// before "删除" (in the destructive colour); only "删除" deletes.
TEST_F(SettingsViewTest, TheDeletionAlertDeletesOnlyWhenConfirmed) {
    open();
    panel.edit([](Preferences& p) { p.customPresets = {{"a", "", 1280, 720, 100}}; });
    enum class Answer { cancel, escape, returnKey, remove };
    for (const Answer answer : {Answer::cancel, Answer::escape, Answer::returnKey, Answer::remove}) {
        panel.calls.clear();
        view->setPendingDeletion(DeletionTarget::forPreset(panel.model.preferences().customPresets.front()));
        auto* alert = qobject_cast<SheetAlert*>(view->sheets().presented(SettingsView::deletionAlert));
        ASSERT_NE(alert, nullptr);
        EXPECT_TRUE(alert->isVisible());
        EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
        EXPECT_EQ(alert->text(), QStringLiteral("删除「规格」？"));
        EXPECT_TRUE(alert->message().isEmpty());
        testing::expectAlertHangsFromWindow(*alert, *view, view->sheets().dimming(),
                                            {QStringLiteral("取消"), QStringLiteral("删除")});
        // A republish while it shows keeps the same alert.
        panel.edit([](Preferences& p) { p.uuTouchScrollEnabled = !p.uuTouchScrollEnabled; });
        EXPECT_EQ(view->sheets().presented(SettingsView::deletionAlert), alert);
        ASSERT_NE(alert->defaultButton(), nullptr);
        EXPECT_EQ(alert->defaultButton()->text(), QStringLiteral("取消"));
        for (QAbstractButton* button : alert->buttons()) {
            const bool remove = button->text() == QStringLiteral("删除");
            if (answer == Answer::remove && remove) button->click();
            if (answer == Answer::cancel && !remove) button->click();
        }
        if (answer == Answer::escape) QTest::keyClick(alert, Qt::Key_Escape);
        // Return takes the default button, which never deletes.
        if (answer == Answer::returnKey) QTest::keyClick(alert, Qt::Key_Return);
        settle();
        EXPECT_EQ(panel.calls, answer == Answer::remove ? std::vector<std::string>{"onDeleteCustom(a)"}
                                                        : std::vector<std::string>{});
        EXPECT_FALSE(view->state().pendingDeletion);
        EXPECT_EQ(view->sheets().presented(SettingsView::deletionAlert), nullptr);
        EXPECT_FALSE(view->sheets().dimming()->isVisible()) << "the window is no longer dimmed";
    }
}

// Keys as a person types them, into the window: Tab never lands on a button, switch or
// segment, so a Space after it presses nothing that no mark showed. In the deletion alert
// Tab and Space delete nothing; Return still answers the default ("取消"), Escape cancels.
TEST_F(SettingsViewTest, TabAndSpacePressNothingUnseenAndAlertsKeepReturnAndEscape) {
    open(false, SettingsPage::general);
    const auto type = [this](Qt::Key key) {
        QTest::keyClick(window->windowHandle(), key);
        settle();
    };
    for (int press = 0; press < 6; ++press) {
        type(Qt::Key_Tab);
        type(Qt::Key_Space);
    }
    EXPECT_EQ(panel.calls, std::vector<std::string>{}) << "no switch, segment or button was pressed";
    EXPECT_EQ(view->state().page, SettingsPage::general) << "nor a page of the sidebar";
    QWidget* focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == nullptr || qobject_cast<QAbstractButton*>(focused) == nullptr)
        << focused->metaObject()->className();

    panel.edit([](Preferences& p) { p.customPresets = {{"a", "", 1280, 720, 100}}; });
    for (const Qt::Key answer : {Qt::Key_Return, Qt::Key_Escape}) {
        panel.calls.clear();
        view->setPendingDeletion(DeletionTarget::forPreset(panel.model.preferences().customPresets.front()));
        settle();
        auto* alert = qobject_cast<SheetAlert*>(view->sheets().presented(SettingsView::deletionAlert));
        ASSERT_NE(alert, nullptr);
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Backtab, Qt::Key_Space}) type(key);
        EXPECT_EQ(view->sheets().presented(SettingsView::deletionAlert), alert) << "Space answers nothing";
        EXPECT_TRUE(alert->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == alert)
            << "the keys stay with the alert";
        type(answer);
        EXPECT_EQ(view->sheets().presented(SettingsView::deletionAlert), nullptr);
        EXPECT_EQ(panel.calls, std::vector<std::string>{}) << "nothing deleted";
    }
}

// The sheet presenter as the editor uses it: one window-modal sheet per draft identity,
// kept across republishes and while the window is hidden, cleared by Escape.
TEST_F(SettingsViewTest, TheEditorSheetIsKeyedByTheDraftAndEscapeClearsIt) {
    open(true);
    ASSERT_TRUE(view->state().draft);
    // The resolution page gives the window its editor.
    ASSERT_NE(view->sheets().presented(SettingsView::draftSheet), nullptr);
    std::vector<std::string> built;
    view->setSpecEditor([&built](const SpecDraft& draft) {
        built.push_back(draft.id);
        return std::make_unique<QLabel>(QString::fromStdString(draft.id));
    });
    QDialog* sheet = view->sheets().presented(SettingsView::draftSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    panel.edit([](Preferences& p) { p.theme = AppTheme::light; });
    EXPECT_EQ(view->sheets().presented(SettingsView::draftSheet), sheet);

    view->setDraft(SpecDraft{"OTHER", "", "1280", "720", true, 100});
    settle();
    sheet = view->sheets().presented(SettingsView::draftSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(built, std::vector<std::string>{"OTHER"});

    window->hide();
    EXPECT_EQ(view->sheets().presented(SettingsView::draftSheet), sheet) << "the hidden window keeps its sheet";
    EXPECT_TRUE(view->state().draft);
    // What the view state comes to hold meanwhile shows once the window is back.
    view->setDraft(SpecDraft{"THIRD", "", "1280", "720", true, 100});
    EXPECT_EQ(built.size(), 1u);
    window->show();
    settle();
    sheet = view->sheets().presented(SettingsView::draftSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(built, (std::vector<std::string>{"OTHER", "THIRD"}));
    QTest::keyClick(sheet, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(view->state().draft);
    EXPECT_EQ(view->sheets().presented(SettingsView::draftSheet), nullptr);
    EXPECT_EQ(built.size(), 2u);
}

// A sheet lies inside the window: hanging from its top edge, centred, following the window
// and its own content's size, over a dimming layer that takes every press meant for the page
// behind; Tab goes round the sheet's own controls only.
TEST_F(SettingsViewTest, ASheetHangsFromTheTopEdgeOverADimmedWindowThatTakesNoInput) {
    open(true, SettingsPage::resolution);
    QDialog* sheet = view->sheets().presented(SettingsView::draftSheet);
    ASSERT_NE(sheet, nullptr);
    settle();
    EXPECT_FALSE(sheet->isWindow());
    EXPECT_EQ(sheet->parentWidget(), view.get());
    EXPECT_EQ(sheet->y(), 0);
    EXPECT_EQ(sheet->width(), SpecEditor::width);
    EXPECT_EQ(sheet->x(), (view->width() - sheet->width()) / 2);
    EXPECT_GT(sheet->height(), 200);

    QWidget* dimming = view->sheets().dimming();
    ASSERT_NE(dimming, nullptr);
    EXPECT_TRUE(dimming->isVisible());
    EXPECT_EQ(dimming->geometry(), view->rect());
    const QPoint onSidebar = view->sidebar()->row(SettingsPage::general)->geometry().center() +
                             view->sidebar()->mapTo(view.get(), QPoint(0, 0));
    EXPECT_EQ(view->childAt(onSidebar), dimming);
    EXPECT_TRUE(sheet->isAncestorOf(view->childAt(sheet->geometry().center())) ||
                view->childAt(sheet->geometry().center()) == sheet);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, onSidebar);
    settle();
    EXPECT_EQ(view->state().page, SettingsPage::resolution) << "the dimmed sidebar took the click";

    for (int press = 0; press < 12; ++press) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(sheet->isAncestorOf(focused)) << press;
        QTest::keyClick(focused, press % 3 == 2 ? Qt::Key_Backtab : Qt::Key_Tab);
    }

    // The window grows: the sheet stays centred on it, and so does the dimming.
    view->resize(1100, 720);
    settle();
    EXPECT_EQ(sheet->x(), (1100 - sheet->width()) / 2);
    EXPECT_EQ(dimming->geometry(), view->rect());
    view->resize(900, 720);

    // Its content grows and shrinks: the sheet follows, still hanging from the top edge.
    QLabel* content = nullptr;
    view->setSpecEditor([&content](const SpecDraft&) {
        auto label = std::make_unique<QLabel>(QStringLiteral("内容"));
        label->setFixedSize(300, 200);
        content = label.get();
        return label;
    });
    view->setDraft(SpecDraft{"OTHER", "", "1280", "720", true, 100});
    settle();
    sheet = view->sheets().presented(SettingsView::draftSheet);
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(sheet->geometry(), QRect(300, 0, 300, 200));
    content->setFixedSize(400, 900);
    settle();
    EXPECT_EQ(sheet->geometry(), QRect(250, 0, 400, 720)) << "never beyond the window";

    QTest::keyClick(sheet, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(dimming->isVisible());
    EXPECT_EQ(view->childAt(onSidebar), view->sidebar()->row(SettingsPage::general));
}

// How far apart two colours look: the distance of their CIE L*a*b* values (ΔE 1976).
double colourDifference(const QColor& one, const QColor& other) {
    const auto lab = [](const QColor& colour) {
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        const double r = linear(colour.redF()), g = linear(colour.greenF()), b = linear(colour.blueF());
        const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
        const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
        const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
        const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
        return std::array<double, 3>{116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
    };
    const auto a = lab(one);
    const auto b = lab(other);
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Selection reads at a glance in both appearances: the selected sidebar row, the
// resolution preset in effect and the thumb of a segmented choice each stand out of what lies
// around them by a colour difference of at least 12, measured on the drawn window beside
// their text.
TEST_F(SettingsViewTest, SelectionReadsAtAGlanceInBothAppearances) {
    constexpr double kAtAGlance = 12;
    panel.edit([](Preferences& p) {
        p.customPresets = {{"a", "办公", 1280, 720, 100}, {"b", "平板", 1180, 820, 100}};
        p.selectedCustomID = "a";
        p.theme = AppTheme::light;
    });
    panel.model.setApplied(Dimensions{1280, 720});
    open(false, SettingsPage::resolution);
    const auto pixel = [this](QWidget* widget, QPoint inside) {
        return view->grab().toImage().pixelColor(widget->mapTo(view.get(), inside));
    };
    const auto besideText = [](QWidget* widget) { return QPoint(3, widget->height() / 2); };
    for (const bool dark : {false, true}) {
        VisualAppearance::shared().set(dark, false);
        view->setPage(SettingsPage::resolution);
        settle();
        auto* resolution = dynamic_cast<ResolutionSettingsPage*>(view->currentPage());
        ASSERT_NE(resolution, nullptr);
        QWidget* selectedPage = view->sidebar()->row(SettingsPage::resolution);
        QWidget* otherPage = view->sidebar()->row(SettingsPage::touch);
        EXPECT_GE(colourDifference(pixel(selectedPage, besideText(selectedPage)), pixel(otherPage, besideText(otherPage))),
                  kAtAGlance)
            << "sidebar, dark " << dark;
        QWidget* active = resolution->row("a");
        QWidget* other = resolution->row("b");
        ASSERT_NE(active, nullptr);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(active)->state().selected);
        EXPECT_GE(colourDifference(pixel(active, besideText(active)), pixel(other, besideText(other))), kAtAGlance)
            << "preset row, dark " << dark;

        auto& general = shown<GeneralSettingsPage>(SettingsPage::general);
        SegmentedPicker* theme = general.themePicker();
        ASSERT_EQ(theme->selectedIndex(), 1);
        QWidget* thumb = theme->segment(1);
        QWidget* track = theme->segment(2);
        EXPECT_GE(colourDifference(pixel(thumb, besideText(thumb)), pixel(track, besideText(track))), kAtAGlance)
            << "segmented choice, dark " << dark;
    }
}

// An off switch reads as a switch, not an empty pill, in both appearances: its track stands
// out of the card it lies on by a contrast of at least 3:1, measured on the drawn window
// beside the knob — a row switch of the general page and the "窗口居中" card of the quick
// actions, both off by default.
TEST_F(SettingsViewTest, AnOffSwitchStandsOutOfItsCardInBothAppearances) {
    constexpr double kReadable = 3;
    panel.edit([](Preferences& p) { p.theme = AppTheme::light; });
    open(false, SettingsPage::general);
    const auto contrastOf = [this](ToggleSwitch* toggle, ToggleSwitch::ControlSize size) {
        const QImage drawn = view->grab().toImage();
        const QSize track = ToggleSwitch::trackSize(size);
        const QPoint onTrack(toggle->width() / 2 + track.width() / 2 - track.height() / 2, toggle->height() / 2);
        const QPoint onCard(-4, toggle->height() / 2);
        return testing::contrastRatio(drawn.pixelColor(toggle->mapTo(view.get(), onTrack)),
                             drawn.pixelColor(toggle->mapTo(view.get(), onCard)));
    };
    for (const bool dark : {false, true}) {
        VisualAppearance::shared().set(dark, false);
        auto& general = shown<GeneralSettingsPage>(SettingsPage::general);
        ToggleSwitch* row = general.toolbarWhenDisconnectedSwitch();
        ASSERT_FALSE(row->isOn());
        EXPECT_GE(contrastOf(row, ToggleSwitch::ControlSize::regular), kReadable) << "row switch, dark " << dark;
        auto& quickActions = shown<QuickActionsSettingsPage>(SettingsPage::floating);
        ASSERT_NE(quickActions.card("builtin:centerWindow"), nullptr);
        ToggleSwitch* card = quickActions.card("builtin:centerWindow")->toggle();
        ASSERT_FALSE(card->isOn());
        EXPECT_GE(contrastOf(card, ToggleSwitch::ControlSize::mini), kReadable) << "operation card, dark " << dark;
    }
}

TEST_F(SettingsViewTest, GrantingAccessibilityRemovesTheWarningAtThePollAndHidingStopsPolling) {
    open();
    auto& general = shown<GeneralSettingsPage>(SettingsPage::general);
    EXPECT_TRUE(tracker->isMonitoring());
    EXPECT_TRUE(view->sidebar()->warning()->isVisible());
    EXPECT_TRUE(general.grantButton()->isVisible());
    EXPECT_FALSE(general.grantedLabel()->isVisible());

    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    pass(0.7);
    EXPECT_TRUE(view->sidebar()->warning()->isVisible()) << "not before the next poll";
    pass(0.1);
    EXPECT_FALSE(view->sidebar()->warning()->isVisible());
    EXPECT_FALSE(general.grantButton()->isVisible());
    EXPECT_TRUE(general.grantedLabel()->isVisible());
    EXPECT_EQ(general.grantedLabel()->text(), QStringLiteral("已授权"));

    window->hide();
    EXPECT_FALSE(tracker->isMonitoring());
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    pass(2);
    EXPECT_FALSE(view->sidebar()->warning()->isVisible()) << "nothing polls while hidden";
    window->show();
    settle();
    EXPECT_TRUE(tracker->isMonitoring());
    EXPECT_TRUE(view->sidebar()->warning()->isVisible()) << "showing refreshes at once";

    // Coming back to the program refreshes without waiting for the poll.
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(view->sidebar()->warning()->isVisible());
}

// The warning and "前往授权" read the permission again and only then open the guide, which
// then runs nothing an earlier opener left behind.
TEST_F(SettingsViewTest, TheAccessibilityRequestRefreshesThenOpensTheGuideWithoutAnEarlierCompletion) {
    open();
    auto& general = shown<GeneralSettingsPage>(SettingsPage::general);
    for (QAbstractButton* request : std::vector<QAbstractButton*>{view->sidebar()->warning(), general.grantButton()}) {
        int earlier = 0;
        tracker->completion = [&earlier] { ++earlier; };
        click(*request);
        EXPECT_TRUE(tracker->isGuideOpen());
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
        pass(0.25);
        EXPECT_FALSE(tracker->isGuideOpen());
        EXPECT_EQ(earlier, 0);
        EXPECT_FALSE(view->sidebar()->warning()->isVisible());
        tool->permissionsAdmin().set(host::Permission::accessibility, false);
        pass(0.75);
    }
    // Trusted by the time of the click, before any poll: the refresh shows it and no guide opens.
    ASSERT_TRUE(view->sidebar()->warning()->isVisible());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    click(*view->sidebar()->warning());
    EXPECT_FALSE(tracker->isGuideOpen());
    EXPECT_FALSE(view->sidebar()->warning()->isVisible());
}

TEST_F(SettingsViewTest, TheSidebarListsThePagesInItsOwnOrderAndTheVersion) {
    open();
    QStringList rows;
    for (QObject* child : view->sidebar()->children()) {
        if (auto* button = qobject_cast<QAbstractButton*>(child); button && button != view->sidebar()->warning()) {
            rows << button->text();
        }
    }
    EXPECT_EQ(rows, (QStringList{"常规", "分辨率", "快捷操作", "连接自动化", "触控"}));
    EXPECT_EQ(view->sidebar()->version()->text(), QStringLiteral("v0.1.0"));
    // The new page fades in, unless motion is reduced.
    reduceMotion = false;
    EXPECT_NE(shown<TouchSettingsPage>(SettingsPage::touch).graphicsEffect(), nullptr);
    reduceMotion = true;
    EXPECT_EQ(shown<GeneralSettingsPage>(SettingsPage::general).graphicsEffect(), nullptr);
}

// Nothing republishes a login item: the switch reads the service again right after each
// attempt, so it shows what really happened, a failure included, and nothing is shown.
TEST_F(SettingsViewTest, TheLoginSwitchShowsTheServiceRightAfterEachAttempt) {
    open();
    auto& general = shown<GeneralSettingsPage>(SettingsPage::general);
    ToggleSwitch* login = general.launchAtLoginSwitch();
    EXPECT_FALSE(login->isOn());
    click(*login);
    EXPECT_TRUE(login->isOn()) << "registered";
    EXPECT_TRUE(std::filesystem::exists(loginItems.entryPath()));
    click(*login);
    EXPECT_FALSE(login->isOn()) << "unregistered";
    EXPECT_FALSE(std::filesystem::exists(loginItems.entryPath()));

    std::filesystem::remove_all(folder.path() / "autostart");
    std::ofstream(folder.path() / "autostart") << "a file where the folder belongs";
    click(*login);
    settle();
    EXPECT_FALSE(login->isOn()) << "the failed registration is not shown as done";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(panel.calls.empty());
}

TEST_F(SettingsViewTest, TheConnectionDropdownShowsOnlyAValidChoiceAndStoresOnlyAnother) {
    panel.edit([](Preferences& p) {
        p.customPresets = {{"a", "办公", 1280, 720, 100}, {"b", "", 1920, 1080, 100}};
        p.autoResolutionEnabled = true;
        p.autoResolutionPresetID = "deleted";
    });
    open();
    auto* settings = shown<ConnectionSettingsPage>(SettingsPage::connection).settings();
    auto* dropdown = settings->presetDropdown();
    EXPECT_EQ(dropdown->faceTitle(), QStringLiteral("请选择规格"));

    auto choose = [&](int row) {
        click(*dropdown);
        const DropdownMenuView* menu = dropdown->controller().popup().menu();
        ASSERT_NE(menu, nullptr);
        GlassPanel* list = dropdown->controller().popup().panel();
        ASSERT_NE(list, nullptr);
        testing::clickAt(*list, menu->mapTo(list, menu->rowRect(row).center()));
    };
    choose(1);
    EXPECT_EQ(panel.calls, std::vector<std::string>{"onAutoResolutionPreset(b)"});
    choose(1);
    EXPECT_EQ(panel.calls.size(), 1u) << "the entry already chosen";
    choose(0);
    EXPECT_EQ(panel.calls.back(), "onAutoResolutionPreset(a)");
    EXPECT_EQ(dropdown->faceTitle(), QStringLiteral("办公"));

    click(*settings->switchOnConnectSwitch());
    EXPECT_FALSE(settings->presetRow()->isVisible());
    EXPECT_FALSE(settings->presetDivider()->isVisible());
    EXPECT_TRUE(settings->restoreDivider()->isVisible());
    click(*settings->switchOnConnectSwitch());
    EXPECT_TRUE(settings->presetRow()->isVisible());
    EXPECT_TRUE(settings->presetDivider()->isVisible());
}

}  // namespace
}  // namespace dorvane
