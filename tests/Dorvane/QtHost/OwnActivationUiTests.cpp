#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QPushButton>
#include <QWidget>

#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"
#include "tests/Support/OwnWindowHost.h"

namespace dorvane {
namespace {

using testing::processUntil;

// Counts the times the windows it watches resign key.
class ResignCounter final : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowDeactivate) ++count;
        return false;
    }
};

// Content for the settings windows: a label is enough.
class LabelViews final : public qthost::SettingsViewFactory {
public:
    std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel&, bool, SettingsPage) override {
        return std::make_unique<QLabel>(QStringLiteral("settings"));
    }
    std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel&, const shell::ResolutionContent&) override {
        return std::make_unique<QLabel>(QStringLiteral("resolution"));
    }
    std::optional<double> resolutionPanelHeight(QWidget&, int) override { return std::nullopt; }
};

// The program's windows beside an editor with one window, on the in-memory host.
class OwnActivationTest : public ::testing::Test, public testing::OwnWindowHost {
protected:
    OwnActivationTest() {
        host::ApplicationLaunch launch;
        launch.name = "编辑器";
        editor = person.windowsAdmin().launch(launch);
        host::WindowRecord record;
        record.pid = editor;
        record.title = "笔记.txt";
        record.frame = {900, 100, 400, 300};
        editorWindow = person.windowsAdmin().open(record);
    }

    std::optional<pid_t> frontmost() { return person.windowsAdmin().view().frontmost; }
    bool programInFront() { return frontmost() == app.process().pid; }
    // The number of the window in front of the others on the normal level.
    std::uint32_t frontWindow() {
        for (const auto& window : person.windowsAdmin().view().windows) {
            if (window.layer == 0 && window.onScreen) return window.number;
        }
        return 0;
    }

    // Lets what the platform plugin queued (offscreen activates each window it shows, later)
    // and the host's notifications arrive.
    static void settle() {
        for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
    }

    pid_t editor = 0;
    std::uint32_t editorWindow = 0;
};

// Whatever brings another application forward, Qt hears that the program lost activation:
// its active window resigns key, as on a platform; the host bringing the program forward
// again, with one of its windows, makes that window active in Qt.
TEST_F(OwnActivationTest, AnotherApplicationInFrontTakesActivationFromTheProgramsWindows) {
    QWidget settings;
    settings.setWindowTitle("设置");
    settings.setGeometry(100, 100, 400, 300);
    settings.show();
    start();
    ResignCounter resigned;
    settings.installEventFilter(&resigned);
    const std::vector<std::pair<std::string, std::function<void()>>> cases{
        {"windows focus", [&] { person.windowsAdmin().focus(editorWindow); }},
        {"a click on its window", [&] { person.windowsAdmin().click({1000, 200}, std::nullopt); }},
        {"a launch", [&] {
             host::ApplicationLaunch terminal;
             terminal.name = "终端";
             person.windowsAdmin().launch(terminal);
         }},
        {"the session resigning", [&] { person.windowsAdmin().post(host::JournalEvent::sessionResigned); }},
    };
    for (const auto& [what, bringAnotherForward] : cases) {
        SCOPED_TRACE(what);
        bringForward(settings);
        ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &settings; }));
        EXPECT_TRUE(programInFront());
        const int before = resigned.count;
        bringAnotherForward();
        EXPECT_TRUE(processUntil([&] { return QApplication::activeWindow() == nullptr; }));
        EXPECT_EQ(resigned.count, before + 1);
    }
    EXPECT_EQ(errors.str(), "");
}

// The pointer that goes on from a button to another application's window leaves the
// button in Qt too: it is no longer under the mouse and draws no hover.
TEST_F(OwnActivationTest, ThePointerGoingOnToAnotherApplicationLeavesTheWidgetItWasOver) {
    QWidget window;
    window.setGeometry(100, 100, 400, 300);
    auto* button = new QPushButton(QStringLiteral("常规"), &window);
    button->setGeometry(20, 20, 120, 40);
    window.show();
    start();
    move({150, 135});
    move({160, 140});
    ASSERT_TRUE(button->underMouse());
    ASSERT_TRUE(button->testAttribute(Qt::WA_UnderMouse));
    move({1000, 200});  // over the editor's window
    EXPECT_FALSE(button->underMouse());
    move({1010, 210});  // further moves there change nothing
    EXPECT_FALSE(button->underMouse());
    move({160, 140});  // and coming back is an enter again
    EXPECT_TRUE(button->underMouse());
    EXPECT_EQ(errors.str(), "");
}

// Showing the settings window brings the program forward with it key and in front, also
// when Qt held it active still or it was minimised; the resolution panel takes the keyboard
// and leaves the application in front as it was, also once it closes.
TEST_F(OwnActivationTest, TheSettingsWindowBringsTheProgramForwardAndTheResolutionPanelDoesNot) {
    ControlPanelModel model;
    const auto made = qthost::QtSettingsWindows::overHost(std::make_unique<LabelViews>(), app, mainQueue, *reporter);
    auto& windows = *made;
    start();
    windows.showSettings(model, false, std::nullopt);
    QWidget& settings = *windows.settingsWindow();
    ASSERT_TRUE(processUntil([&] { return programInFront() && QApplication::activeWindow() == &settings; }));
    settle();
    const auto number = *reporter->number(&settings);

    // Another application in front, whether or not the program has heard of it yet.
    for (const bool heard : {true, false}) {
        SCOPED_TRACE(heard ? "heard" : "not heard yet");
        person.windowsAdmin().focus(editorWindow);
        if (heard) {
            ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == nullptr; }));
        }
        windows.showSettings(model, false, std::nullopt);
        // At once, before Qt's own activation could come round.
        EXPECT_TRUE(programInFront());
        EXPECT_EQ(frontWindow(), number);
        EXPECT_EQ(person.windowsAdmin().view().keyWindow, number);
        EXPECT_TRUE(processUntil([&] { return QApplication::activeWindow() == &settings; }));
        // What the program had not heard comes late: it is past and changes nothing.
        settle();
        EXPECT_TRUE(programInFront());
        EXPECT_EQ(QApplication::activeWindow(), &settings);
    }

    person.windowsAdmin().setMinimised(number, true);
    person.windowsAdmin().focus(editorWindow);
    ASSERT_TRUE(processUntil([&] { return settings.isMinimized() && QApplication::activeWindow() == nullptr; }));
    windows.showSettings(model, false, std::nullopt);
    EXPECT_TRUE(programInFront());
    EXPECT_EQ(frontWindow(), number);
    EXPECT_TRUE(processUntil([&] { return !listed(settings)->minimised && QApplication::activeWindow() == &settings; }));
    settle();

    person.windowsAdmin().focus(editorWindow);
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == nullptr; }));
    windows.prepareResolution(model, {}, geometry::Rect{700, 60, 400, 300}, ToolbarSide::right);
    windows.showResolution(geometry::Rect{700, 60, 400, 300}, ToolbarSide::right, false);
    QWidget* panel = windows.resolutionPanel();
    EXPECT_EQ(person.windowsAdmin().view().keyWindow, reporter->number(panel)) << "the panel is key at once";
    EXPECT_TRUE(processUntil([&] { return QApplication::activeWindow() == panel; }));
    EXPECT_EQ(frontmost(), editor);
    windows.orderResolutionOut();
    settle();
    EXPECT_EQ(frontmost(), editor);
    EXPECT_EQ(errors.str(), "");
}

// The host's keys reach the program's window that has the keyboard: the settings window
// while the program is in front; a panel shown without activating while the user's
// application stays in front, and that application again once the panel closed; never a
// minimised window, nor anything once the session resigned.
TEST_F(OwnActivationTest, KeysReachTheWindowThatHasTheKeyboardAndNeverAMinimisedOne) {
    constexpr std::uint16_t kA = 0, kB = 11, kC = 8, kD = 2, kE = 14, kF = 3;
    QWidget settings;
    settings.setWindowTitle("设置");
    settings.setGeometry(100, 100, 400, 300);
    auto* field = new QLineEdit(&settings);
    settings.show();
    OverlayFloatingPanel panel(nullptr, Qt::WindowStaysOnTopHint);
    panel.setAttribute(Qt::WA_ShowWithoutActivating);
    panel.setWindowTitle("Corvelle 应用");
    panel.setGeometry(1100, 100, 200, 300);
    auto* search = new QLineEdit(&panel);
    (new QVBoxLayout(&panel))->addWidget(search);
    start();
    auto lastKeyWentTo = [this] { return person.inputAdmin().delivered().back().receiver.value_or(0); };

    bringForward(settings);
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &settings; }));
    field->setFocus();
    key(kA);
    EXPECT_EQ(field->text(), "a");

    person.windowsAdmin().focus(editorWindow);
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == nullptr; }));
    panel.show();
    panel.activateWindow();
    search->setFocus();
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &panel; }));
    settle();
    key(kB);
    EXPECT_EQ(search->text(), "b") << "the panel has the keyboard";
    EXPECT_EQ(frontmost(), editor);
    panel.hide();
    settle();
    key(kC);
    EXPECT_EQ(lastKeyWentTo(), editor);
    EXPECT_EQ(search->text(), "b");

    bringForward(settings);
    ASSERT_TRUE(processUntil([&] { return QApplication::activeWindow() == &settings; }));
    person.windowsAdmin().setMinimised(*reporter->number(&settings), true);
    ASSERT_TRUE(processUntil([&] { return settings.isMinimized(); }));
    key(kD);
    EXPECT_EQ(lastKeyWentTo(), app.process().pid);
    EXPECT_EQ(field->text(), "a") << "a minimised window is never key";

    bringForward(settings);
    ASSERT_TRUE(processUntil([&] { return !settings.isMinimized() && QApplication::activeWindow() == &settings; }));
    key(kE);
    EXPECT_EQ(field->text(), "ae");
    person.windowsAdmin().post(host::JournalEvent::sessionResigned);
    EXPECT_TRUE(processUntil([&] { return QApplication::activeWindow() == nullptr; }));
    key(kF);
    EXPECT_EQ(lastKeyWentTo(), 0);
    EXPECT_EQ(field->text(), "ae");
    EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace dorvane
