#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>
#include <QWidget>

#include "Dorvane/QtHost/QtLocalMouseMonitor.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtOwnWindows.h"
#include "Dorvane/QtHostBase/LocalEventMonitor.h"
#include "Dorvane/Visual/PointerHover.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/OwnWindowHost.h"
#include "tests/Support/RefusingHostStore.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using testing::processUntil;
using Rows = std::vector<std::pair<std::uint32_t, std::int32_t>>;

// Notes the presses and releases that reach it, in its own coordinates; one that passes
// presses on leaves them to its parent too.
class PressRecorder final : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<QString> seen;
    bool passesPressesOn = false;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        note("press", event->position());
        if (passesPressesOn) event->ignore();
    }
    void mouseReleaseEvent(QMouseEvent* event) override { note("release", event->position()); }

private:
    void note(const char* what, QPointF at) { seen.push_back(QStringLiteral("%1 %2,%3").arg(what).arg(at.x()).arg(at.y())); }
};

// Counts the activations of the windows it watches.
class ActivationCounter final : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) ++count;
        return false;
    }
};

// The program on the in-memory host with the Qt loop as its main queue; a person at the
// machine (`tool`) drives the host from outside.
class OwnWindowReporterTest : public ::testing::Test, public testing::OwnWindowHost {
protected:
    using testing::OwnWindowHost::listed;
    host::ListedWindow listed(std::uint32_t number) {
        for (const auto& window : tool.windowsAdmin().view().windows) {
            if (window.number == number) return window;
        }
        return host::ListedWindow{};
    }
    // The program's windows on screen, front to back: number and layer.
    Rows ownOnScreen() {
        Rows rows;
        for (const auto& window : tool.windowsAdmin().view().windows) {
            if (window.pid == app.process().pid && window.onScreen) rows.emplace_back(window.number, window.layer);
        }
        return rows;
    }

    host::SimulatedHost& tool = person;
};

TEST_F(OwnWindowReporterTest, ShownWindowsAreListedWithTheirLevelsAndFollowedUntilDestroyed) {
    QWidget settings;
    settings.setWindowTitle("设置");
    settings.setGeometry(100, 100, 400, 300);
    settings.show();  // before the reporter starts: listed when it does
    reporter->start();
    const auto program = app.applicationWorkspace().runningApplication(app.process().pid);
    ASSERT_TRUE(program && reporter->number(&settings));
    EXPECT_EQ(program->bundleID, "local.Dorvane");
    EXPECT_EQ(program->activationPolicy, workspace::ActivationPolicy::accessory);
    const auto settingsNumber = *reporter->number(&settings);
    EXPECT_EQ(reporter->widget(settingsNumber), &settings);
    const auto entry = listed(settingsNumber);
    EXPECT_EQ(entry.ownerName, "Corvelle");
    EXPECT_EQ(entry.bounds, (geometry::Rect{100, 100, 400, 300}));
    EXPECT_EQ(entry.title, "设置");

    auto* toolbar = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    toolbar->setGeometry(1400, 300, 72, 400);
    toolbar->show();
    QWidget notice(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    notice.setProperty(qthost::kWindowLevelProperty, 25);
    notice.setGeometry(600, 60, 300, 80);
    notice.show();
    const auto toolbarNumber = *reporter->number(toolbar);
    const auto noticeNumber = *reporter->number(&notice);
    EXPECT_EQ(ownOnScreen(), (Rows{{noticeNumber, 25}, {toolbarNumber, 3}, {settingsNumber, 0}}));
    std::vector<bool> titled;
    for (const auto& record : tool.windowsAdmin().view().state.windows) titled.push_back(record.titled);
    EXPECT_EQ(titled, (std::vector<bool>{false, false, true}));

    // Hiding shows at once; moves and resizes arrive as the loop turns.
    settings.hide();
    EXPECT_EQ(ownOnScreen(), (Rows{{noticeNumber, 25}, {toolbarNumber, 3}}));
    settings.show();
    settings.setGeometry(220, 160, 500, 320);
    EXPECT_TRUE(processUntil([&] { return listed(settingsNumber).bounds == geometry::Rect{220, 160, 500, 320}; }));
    notice.setProperty(qthost::kWindowLevelProperty, 101);
    settings.setWindowTitle("设置 · 快捷键");
    EXPECT_EQ(listed(noticeNumber).layer, 101);
    EXPECT_EQ(listed(settingsNumber).title, "设置 · 快捷键");

    delete toolbar;
    EXPECT_EQ(reporter->widget(toolbarNumber), nullptr);
    EXPECT_EQ(ownOnScreen(), (Rows{{noticeNumber, 101}, {settingsNumber, 0}}));
    reporter.reset();
    EXPECT_EQ(ownOnScreen(), Rows{});
    EXPECT_EQ(errors.str(), "");
}

// Ignores the close and hides, as the settings window does.
class HidingWindow final : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        hide();
    }
};

// A window closed from outside is closed as by its own close button, and showing it again
// lists it again; the program's own removals close nothing.
TEST_F(OwnWindowReporterTest, AWindowTheHostClosesClosesAndIsListedAgainWhenShown) {
    reporter->start();
    HidingWindow settings;
    settings.setWindowTitle("设置");
    settings.setGeometry(100, 100, 400, 300);
    settings.show();
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    panel.setGeometry(1400, 300, 72, 400);
    panel.show();
    const auto first = *reporter->number(&settings);
    const auto panelNumber = *reporter->number(&panel);

    tool.windowsAdmin().close(first);
    tool.windowsAdmin().close(panelNumber);
    ASSERT_TRUE(processUntil([&] { return !settings.isVisible() && !panel.isVisible(); }));
    EXPECT_EQ(reporter->number(&settings), std::nullopt);
    EXPECT_EQ(ownOnScreen(), Rows{});

    settings.show();
    const auto again = reporter->number(&settings);
    ASSERT_TRUE(again);
    EXPECT_NE(*again, first);
    EXPECT_EQ(listed(*again).title, "设置");
    EXPECT_EQ(ownOnScreen(), (Rows{{*again, 0}}));

    // Hidden by the program and shown again: the same entry all along. The removal of a
    // window the program destroyed comes back too, and closes nothing.
    settings.hide();
    settings.show();
    auto* gone = new QWidget;
    gone->setGeometry(10, 10, 100, 100);
    gone->show();
    delete gone;
    panel.show();
    tool.windowsAdmin().close(*reporter->number(&panel));
    ASSERT_TRUE(processUntil([&] { return !panel.isVisible(); }));
    EXPECT_EQ(reporter->number(&settings), again);
    EXPECT_TRUE(settings.isVisible());
    EXPECT_EQ(errors.str(), "");
}

TEST_F(OwnWindowReporterTest, HostClicksReachTheWidgetUnderThePointerAndActivationMakesTheProgramFrontmost) {
    reporter->start();
    PressRecorder window;
    window.setGeometry(300, 200, 400, 300);
    auto* button = new PressRecorder(&window);
    button->setGeometry(50, 40, 100, 80);
    window.show();
    tool.windowsAdmin().click({360, 250}, std::nullopt);  // on the button
    tool.windowsAdmin().click({310, 480}, std::nullopt);  // beside it
    ASSERT_TRUE(processUntil([&] { return window.seen.size() == 2; }));
    EXPECT_EQ(button->seen, (std::vector<QString>{"press 10,10", "release 10,10"}));
    EXPECT_EQ(window.seen, (std::vector<QString>{"press 10,280", "release 10,280"}));

    host::ApplicationLaunch editor;
    editor.name = "编辑器";
    const pid_t editorPID = tool.windowsAdmin().launch(editor);
    EXPECT_EQ(tool.windowsAdmin().view().frontmost, editorPID);
    // Offscreen activates every window it shows; a panel that takes no focus still leaves
    // the program behind, an ordinary window brings it forward.
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    panel.setAttribute(Qt::WA_ShowWithoutActivating);
    panel.show();
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &panel; }));
    EXPECT_EQ(tool.windowsAdmin().view().frontmost, editorPID);
    window.activateWindow();
    EXPECT_TRUE(processUntil([&] { return tool.windowsAdmin().view().frontmost == app.process().pid; }));
    EXPECT_EQ(errors.str(), "");
}

// A glass panel that presents before the program has heard that the user moved on to
// another application finds the settings window still Qt's active one; offscreen activates
// the panel, which hands the activation back, and that bookkeeping must not bring the
// program forward on the host.
TEST_F(OwnWindowReporterTest, APanelHandingActivationBackLeavesTheFrontApplicationInFront) {
    reporter->start();
    QWidget settings;
    settings.setGeometry(300, 200, 400, 300);
    settings.show();
    settings.activateWindow();
    ASSERT_TRUE(processUntil([&] { return tool.windowsAdmin().view().frontmost == app.process().pid; }));
    host::ApplicationLaunch editor;
    editor.name = "编辑器";
    const pid_t editorPID = tool.windowsAdmin().launch(editor);
    GlassPanel panel("Corvelle 提示", GlassPanel::statusLevel, GlassPanel::Input::clickable);
    panel.setGlassFrame(QRect(600, 60, 300, 80));
    ActivationCounter handedBack;
    settings.installEventFilter(&handedBack);
    panel.present();
    ASSERT_TRUE(processUntil([&] { return handedBack.count == 1; }));
    EXPECT_EQ(tool.windowsAdmin().view().frontmost, editorPID);
    // A later activation of the window is the user's again.
    QWidget other;
    other.setGeometry(100, 500, 200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &other; }));
    host::ApplicationLaunch terminal;
    terminal.name = "终端";
    tool.windowsAdmin().launch(terminal);
    ASSERT_NE(tool.windowsAdmin().view().frontmost, app.process().pid);
    settings.activateWindow();
    EXPECT_TRUE(processUntil([&] { return tool.windowsAdmin().view().frontmost == app.process().pid; }));
}

// Where the window Qt holds active takes no focus (the toolbar, shown and activated by the
// offscreen platform), a panel hands nothing back: the platform would refuse it with a
// warning on the program's standard error at every notice.
TEST_F(OwnWindowReporterTest, APanelHandsNoActivationBackToAWindowThatTakesNoFocus) {
    static QStringList warnings;
    warnings.clear();
    const auto previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg) warnings << text;
    });
    QWidget toolbar(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    toolbar.setGeometry(1434, 32, 84, 900);
    toolbar.show();
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &toolbar; }));
    GlassPanel panel("Corvelle 提示", GlassPanel::statusLevel, GlassPanel::Input::clickable);
    panel.setGlassFrame(QRect(600, 60, 300, 80));
    panel.present();
    const bool activated = processUntil([&] { return QApplication::activeWindow() == &panel; });
    for (int round = 0; round < 20; ++round) QCoreApplication::processEvents();  // the queued hand-back
    qInstallMessageHandler(previous);
    ASSERT_TRUE(activated);
    EXPECT_TRUE(warnings.filter("requestActivate").isEmpty()) << warnings.join("\n").toStdString();
}

TEST_F(OwnWindowReporterTest, LocalMonitorSeesAPressOnAnOwnWindowOnceAndTheWidgetStillGetsIt) {
    reporter->start();
    qthost::QtOwnWindows own([this](const QWidget* window) { return reporter->number(window); });
    qthost::QtLocalMouseMonitor monitor(own);
    PressRecorder window;
    window.setGeometry(300, 200, 400, 300);
    auto* button = new PressRecorder(&window);
    button->setGeometry(50, 40, 100, 80);
    button->passesPressesOn = true;
    window.show();
    std::vector<windows::LocalMouseEvent> seen;
    auto observation =
        monitor.addLocalMouseMonitor([&](const windows::LocalMouseEvent& event) { seen.push_back(event); });
    ASSERT_TRUE(observation.has_value());

    tool.windowsAdmin().click({360, 250}, std::nullopt);  // on the button, which passes the press on
    using Kind = events::MouseEvent::Kind;
    ASSERT_TRUE(processUntil([&] { return !seen.empty() && seen.back().kind == Kind::leftMouseUp; }));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, Kind::leftMouseDown);
    for (const auto& event : seen) {
        EXPECT_EQ(event.location, (geometry::Point{360, 250}));
        EXPECT_EQ(event.window, own.idOf(&window));
    }
    EXPECT_EQ(button->seen, (std::vector<QString>{"press 10,10", "release 10,10"}));
    EXPECT_EQ(window.seen, (std::vector<QString>{"press 60,50"}));

    // Once the monitor is gone, clicks still arrive and nothing is seen.
    observation->cancel();
    tool.windowsAdmin().click({310, 480}, std::nullopt);
    ASSERT_TRUE(processUntil([&] { return window.seen.size() >= 3; }));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(errors.str(), "");
}

// Notes the wheel turns that reach it.
class WheelRecorder final : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<int> turns;

protected:
    void wheelEvent(QWheelEvent* event) override { turns.push_back(event->angleDelta().y()); }
};

TEST_F(OwnWindowReporterTest, KeysFromOutsideReachTheFocusedWidgetAndTheWheelTheWidgetUnderIt) {
    QLineEdit field;
    field.setWindowTitle("设置");
    field.setGeometry(200, 200, 300, 40);
    field.show();
    WheelRecorder list;
    list.setGeometry(600, 200, 200, 200);
    list.show();
    reporter->start();
    ASSERT_TRUE(app.hostEvents().claimInputOwnership());
    field.activateWindow();
    field.setFocus();
    ASSERT_TRUE(testing::processUntil([&] {
        const auto front = app.applicationWorkspace().frontmostApplication();
        return front && front->pid == app.process().pid;
    }));
    std::vector<host::InjectedEvent> typed(3);
    typed[0].event.type = events::EventType::keyDown;
    typed[0].event.setField(events::EventField::keyCode, 40);  // k
    typed[1] = typed[0];
    typed[1].event.type = events::EventType::keyUp;
    typed[2].event.type = events::EventType::scrollWheel;
    typed[2].event.location = {650, 250};
    typed[2].event.setField(events::EventField::scrollDeltaAxis1, -3);
    ASSERT_TRUE(tool.inputAdmin().inject(typed));
    EXPECT_TRUE(testing::processUntil([&] { return field.text() == "k" && !list.turns.empty(); }));
    // Three notches of a mouse wheel, as a platform reports them.
    EXPECT_EQ(list.turns, (std::vector<int>{-360}));
}

// The program's window reporter on a host whose lock another program can hold, and a
// person at the machine who looks at the host meanwhile.
class OwnWindowReporterHoldTest : public ::testing::Test {
protected:
    QApplication& application = testing::qtApplication();
    dispatch::SystemClock clock;
    qthost::QtMainQueue mainQueue;
    std::shared_ptr<host::MemoryHostStore> inner = std::make_shared<host::MemoryHostStore>();
    std::shared_ptr<testing::RefusingHostStore> store = std::make_shared<testing::RefusingHostStore>(inner);
    host::SimulatedHost app{store, processes::ProcessRole::application, clock, &mainQueue};
    host::SimulatedHost person{inner, processes::ProcessRole::tool, clock};
    std::ostringstream errors;
    qthost::QtOwnWindowReporter reporter{app.ownWindows(), errors};
};

// A window shown, moved, destroyed or activated while another program holds the host's lock
// (and changes nothing) is listed as it is, leaves the list, or is key, once the hold ends.
TEST_F(OwnWindowReporterHoldTest, WhatAHoldTurnedAwayReachesTheWindowListOnceItEnds) {
    const auto listed = [&](const std::string& title) -> std::optional<geometry::Rect> {
        for (const auto& window : person.windowsAdmin().view().windows) {
            if (window.pid == app.process().pid && window.title == title) return window.bounds;
        }
        return std::nullopt;
    };
    QWidget settings;
    settings.setWindowTitle("设置");
    settings.setGeometry(100, 100, 400, 300);
    settings.show();
    auto* notice = new QWidget;
    notice->setWindowTitle("通知");
    notice->setGeometry(600, 60, 300, 80);
    notice->show();
    QWidget editor;
    editor.setWindowTitle("编辑器");
    editor.setGeometry(700, 300, 300, 200);
    editor.show();
    reporter.start();
    ASSERT_TRUE(listed("通知"));
    reporter.activate(settings);
    testing::processUntil([&] { return app.ownWindows().activation().keyWindow == reporter.number(&settings); });
    ASSERT_EQ(app.ownWindows().activation().keyWindow, reporter.number(&settings));

    store->held = true;
    QWidget toolbar(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    toolbar.setWindowTitle("Corvelle 快捷操作");
    toolbar.setGeometry(1400, 32, 84, 900);
    toolbar.show();
    settings.move(200, 150);
    reporter.flush();
    delete notice;
    EXPECT_FALSE(listed("Corvelle 快捷操作"));
    store->held = false;
    EXPECT_TRUE(testing::processUntil([&] {
        return listed("Corvelle 快捷操作") == qthost::describeOwnWindow(toolbar).frame &&
               listed("设置") == qthost::describeOwnWindow(settings).frame && !listed("通知");
    }));
    EXPECT_TRUE(reporter.number(&toolbar));

    store->held = true;
    reporter.activate(editor);
    store->held = false;
    EXPECT_TRUE(testing::processUntil(
        [&] { return app.ownWindows().activation().keyWindow == reporter.number(&editor); }));
}

// A hold that outlasts the first try again: a panel shown and made key meanwhile is listed
// with the keyboard once the hold ends, and the keys typed then reach it.
TEST_F(OwnWindowReporterHoldTest, APanelShownDuringAHoldPastTheFirstRetryTakesTheKeysOnceItEnds) {
    reporter.start();
    ASSERT_TRUE(app.hostEvents().claimInputOwnership());

    store->held = true;
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    panel.setAttribute(Qt::WA_ShowWithoutActivating);
    panel.setWindowTitle("Corvelle 分辨率");
    panel.setGeometry(900, 40, 500, 400);
    auto* field = new QLineEdit(&panel);
    panel.show();
    reporter.activate(panel);
    field->setFocus();
    for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
    const int refusedAtFirst = store->refusals;
    ASSERT_TRUE(testing::processUntil([&] { return store->refusals > refusedAtFirst; })) << "tried again, held still";
    store->held = false;
    ASSERT_TRUE(testing::processUntil([&] {
        const auto number = reporter.number(&panel);
        return number && person.windowsAdmin().view().keyWindow == *number;
    }));

    host::InjectedEvent down;
    down.event.type = events::EventType::keyDown;
    down.event.setField(events::EventField::keyCode, 0);  // a
    host::InjectedEvent up = down;
    up.event.type = events::EventType::keyUp;
    const auto typed = person.inputAdmin().inject({down, up});
    ASSERT_TRUE(typed);
    EXPECT_TRUE(testing::processUntil([&] { return field->text() == QStringLiteral("a"); }));
}

class HostInputTest : public ::testing::Test, public testing::OwnWindowHost {};

// Keys go to the focused window as a platform sends them: its shortcuts first, then the
// monitors that watch the window (a dropdown list's), then the focused widget.
TEST_F(HostInputTest, KeysReachTheFocusedWindowWhereShortcutsAndMonitorsSeeThemFirst) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 10, 200, 28);
    int escapes = 0;
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, [&escapes] { ++escapes; });
    window.setGeometry(200, 200, 300, 200);
    window.show();
    window.activateWindow();
    field->setFocus();
    std::vector<int> watched;
    auto monitor = qthost::LocalEventMonitor::shared().add(qthost::LocalEventMonitor::keyDown, [&](QEvent& event, QWindow& at) {
        if (&at != window.windowHandle()) return false;
        const int key = static_cast<QKeyEvent&>(event).key();
        watched.push_back(key);
        return key == Qt::Key_Down;  // the list takes the arrows
    });
    start();
    bringForward(window);

    key(40);   // k
    key(125);  // down arrow
    key(53);   // Escape
    EXPECT_EQ(field->text(), QStringLiteral("k"));
    EXPECT_EQ(watched, (std::vector<int>{Qt::Key_K, Qt::Key_Down}));
    EXPECT_EQ(escapes, 1);
    EXPECT_EQ(errors.str(), "");
}

// Shift held on the host's keyboard reaches the program's fields as a keyboard of its own
// would bring it: the shifted character typed, the key Qt names for it (Key_Exclam for the
// 1 key), and Shift among the modifiers, with which the arrows select.
TEST_F(HostInputTest, ShiftHeldOnTheHostsKeyboardTypesCapitalsAndSelects) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 10, 200, 28);
    window.setGeometry(200, 200, 300, 200);
    window.show();
    window.activateWindow();
    field->setFocus();
    std::vector<std::pair<int, bool>> watched;  // key, with Shift
    auto monitor = qthost::LocalEventMonitor::shared().add(qthost::LocalEventMonitor::keyDown, [&](QEvent& event, QWindow& at) {
        if (&at != window.windowHandle()) return false;
        const auto& pressed = static_cast<QKeyEvent&>(event);
        watched.emplace_back(pressed.key(), pressed.modifiers().testFlag(Qt::ShiftModifier));
        return false;
    });
    start();
    bringForward(window);

    constexpr std::uint16_t k = 40, one = 18, left = 123;
    key(k, modifier::shift);
    key(one, modifier::shift);
    key(k);
    key(one);
    key(left, modifier::shift);
    key(left, modifier::shift);
    EXPECT_EQ(field->text(), QStringLiteral("K!k1"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("k1"));
    EXPECT_EQ(watched, (std::vector<std::pair<int, bool>>{{Qt::Key_K, true},
                                                          {Qt::Key_Exclam, true},
                                                          {Qt::Key_K, false},
                                                          {Qt::Key_1, false},
                                                          {Qt::Key_Left, true},
                                                          {Qt::Key_Left, true}}));
    EXPECT_EQ(errors.str(), "");
}

// Notes what the pointer does over it.
class PointerRecorder final : public QWidget {
public:
    explicit PointerRecorder(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
    std::vector<QString> seen;

protected:
    void enterEvent(QEnterEvent*) override { seen.push_back("enter"); }
    void leaveEvent(QEvent*) override { seen.push_back("leave"); }
    void mouseMoveEvent(QMouseEvent* event) override {
        seen.push_back(QStringLiteral("move %1,%2").arg(event->position().x()).arg(event->position().y()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        seen.push_back(event->button() == Qt::RightButton ? "right press" : "press");
    }
};

// The wheel goes to the widget under the pointer and, unused there, on up to the scroll
// area around it; pointer moves bring enter, moves and hover; right clicks arrive.
TEST_F(HostInputTest, TheWheelScrollsWhatIsUnderThePointerAndMovesBringHover) {
    QScrollArea window;
    auto* page = new QWidget;
    page->resize(300, 2000);
    auto* label = new QLabel(QStringLiteral("常规"), page);
    label->setGeometry(10, 10, 200, 40);
    auto* button = new PointerRecorder(page);
    button->setGeometry(10, 100, 100, 40);
    window.setWidget(page);
    window.setGeometry(100, 100, 320, 300);
    window.show();
    start();
    std::vector<bool> hovered;
    auto tracked = PointerHover::shared().track(button, "test:button", [&](bool now) { hovered.push_back(now); });
    PointerHover::shared().reset();

    scroll({150, 125}, -3);  // over the label
    EXPECT_GT(window.verticalScrollBar()->value(), 0) << "the page scrolled";
    window.verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();

    move({130, 215});  // over the button: the first position only counts as a start
    move({140, 220});
    ASSERT_FALSE(button->seen.empty());
    EXPECT_EQ(button->seen.front(), QStringLiteral("enter"));
    const QPoint local = button->mapFromGlobal(QPoint(140, 220));
    EXPECT_EQ(button->seen.back(), QStringLiteral("move %1,%2").arg(local.x()).arg(local.y()));
    EXPECT_EQ(hovered, std::vector<bool>{true});
    rightClick({140, 220});
    EXPECT_EQ(button->seen.back(), QStringLiteral("right press"));
    move({150, 300});  // off the button, within the window
    EXPECT_EQ(button->seen.back(), QStringLiteral("leave"));
    EXPECT_EQ(errors.str(), "");
}

// Keeps one size, as the settings window does.
class FixedWindow final : public QWidget {
public:
    FixedWindow() { setFixedSize(400, 300); }
};

// The host's moves, resizes and minimising are applied to the Qt window, which keeps its
// own limits; the list then shows what it became. The program's own moves stay its own.
TEST_F(HostInputTest, TheHostsMovesAndMinimisingReachTheQtWindowWhichKeepsItsLimits) {
    FixedWindow fixed;
    fixed.setWindowTitle("设置");
    fixed.move(100, 100);
    fixed.show();
    QWidget free;
    free.setGeometry(700, 100, 300, 200);
    free.show();
    start();
    const auto number = *reporter->number(&fixed);
    const auto freeNumber = *reporter->number(&free);

    person.windowsAdmin().drag(number, {300, 200, 800, 600});
    ASSERT_TRUE(processUntil([&] { return fixed.geometry().topLeft() == QPoint(300, 200); }));
    EXPECT_EQ(fixed.size(), QSize(400, 300));
    EXPECT_TRUE(processUntil([&] { return listed(fixed)->bounds == geometry::Rect{300, 200, 400, 300}; }));
    person.windowsAdmin().drag(freeNumber, {650, 120, 350, 250});
    EXPECT_TRUE(processUntil([&] { return free.geometry() == QRect(650, 120, 350, 250); }));

    person.windowsAdmin().setMinimised(number, true);
    ASSERT_TRUE(processUntil([&] { return fixed.isMinimized(); }));
    EXPECT_TRUE(listed(fixed)->minimised);
    EXPECT_FALSE(listed(fixed)->onScreen);
    person.windowsAdmin().setMinimised(number, false);
    ASSERT_TRUE(processUntil([&] { return !fixed.isMinimized(); }));
    EXPECT_TRUE(processUntil([&] { return listed(fixed)->onScreen; }));

    // Minimised by the program itself: the list follows, and nothing comes back.
    fixed.showMinimized();
    EXPECT_TRUE(processUntil([&] { return listed(fixed)->minimised; }));
    fixed.showNormal();
    fixed.setGeometry(120, 140, 400, 300);
    EXPECT_TRUE(processUntil([&] { return listed(fixed)->bounds == geometry::Rect{120, 140, 400, 300}; }));
    for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
    EXPECT_EQ(fixed.geometry(), QRect(120, 140, 400, 300));
    EXPECT_FALSE(fixed.isMinimized());
    EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace dorvane
