#include <cmath>
#include <functional>

#include "Platform/Host/Services/HostAccessibility.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane::host {
namespace {

namespace attribute = accessibility::attribute;
namespace action = accessibility::action;
using geometry::Point;
using geometry::Rect;
using geometry::Size;

constexpr Rect kStart{100, 100, 800, 600};
constexpr Rect kVisible{0, 38, 1512, 944};  // the laptop's screen below its menu bar

// Virtual time is kept in whole nanoseconds; differences of uptimes round to them.
long long microseconds(double seconds) { return std::llround(seconds * 1e6); }

class AccessibilityHostTest : public WindowHostTest {
protected:
    void SetUp() override {
        WindowHostTest::SetUp();
        pid = launch("编辑器");
        number = open(pid, kStart);
        window = windowElement(pid, number);
    }

    AXElement button(std::string_view which) { return read<AXElement>(window, which); }

    pid_t pid = 0;
    std::uint32_t number = 0;
    AXElement window;
};

TEST_F(AccessibilityHostTest, WritesLandWithTheWindowsSizeAndPlaceRules) {
    struct Case {
        const char* what;
        std::function<void(WindowRecord&)> behave;
        std::string_view attribute;
        AXValue value;
        Rect expected;
    };
    const std::vector<Case> cases = {
        {"size keeps the origin", [](auto&) {}, attribute::size, Size{756, 944}, {100, 100, 756, 944}},
        {"position keeps the size", [](auto&) {}, attribute::position, Point{0, 38}, {0, 38, 800, 600}},
        {"minimum", [](auto& w) { w.minSize = Size{600, 400}; }, attribute::size, Size{500, 300}, {100, 100, 600, 400}},
        {"maximum", [](auto& w) { w.maxSize = Size{700, 500}; }, attribute::size, Size{900, 900}, {100, 100, 700, 500}},
        {"steps", [](auto& w) { w.behaviours.sizeSteps = Size{7, 14}; }, attribute::size, Size{803, 607},
         {100, 100, 798, 602}},
        {"clamped to the screen", [](auto& w) { w.behaviours.clampToScreen = true; }, attribute::size,
         Size{1600, 1000}, {100, 100, 1412, 882}},
        {"below the menu bar", [](auto& w) { w.behaviours.keepBelowMenuBar = true; }, attribute::position,
         Point{50, 10}, {50, 38, 800, 600}},
        {"redirected", [](auto& w) { w.behaviours.redirectPosition = Point{300, 300}; }, attribute::position,
         Point{0, 38}, {300, 300, 800, 600}},
    };
    for (const auto& test : cases) {
        const auto subject = open(pid, kStart);
        admin().behaveWindow(subject, test.behave);
        const auto element = windowElement(pid, subject);
        EXPECT_EQ(ax().setAttributeValue(element, test.attribute, test.value), AXError::success) << test.what;
        EXPECT_EQ(frame(element), test.expected) << test.what;
    }
    EXPECT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Point{1, 2})), AXError::illegalArgument);
    EXPECT_EQ(ax().setAttributeValue(window, attribute::title, AXValue(std::string("x"))),
              AXError::attributeUnsupported);
    EXPECT_EQ(logged({"axSetAttribute"}).front(),
              "axSetAttribute pid=" + std::to_string(pid) + " window=2 AXSize 756x944 -> 0");
}

TEST_F(AccessibilityHostTest, CallsCostTheLatencyAndGiveUpAtTheTimeout) {
    admin().behaveApplication(pid, [](auto& a) { a.latency = 2; });
    ASSERT_EQ(ax().setMessagingTimeout(window, 0.5), AXError::success);
    AXValue value;
    double start = scheduler.now();
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::cannotComplete);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(0.5));
    EXPECT_EQ(logged({"axCopyAttribute"}),
              (std::vector<std::string>{"axCopyAttribute pid=" + std::to_string(pid) + " window=1 AXPosition -> -25204"}));

    admin().behaveApplication(pid, [](auto& a) { a.latency = 0.3; });
    start = scheduler.now();
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::success);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(0.3));

    // A copy shares the element's timeout; a new element for the same window is equal but
    // falls back to the system-wide timeout, then to the default.
    const AXElement copy = window;
    ASSERT_EQ(ax().setMessagingTimeout(copy, 0.25), AXError::success);
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::cannotComplete);
    const auto fresh = windowElement(pid, number);
    EXPECT_EQ(fresh, window);
    EXPECT_EQ(fresh.hash(), window.hash());
    admin().behaveApplication(pid, [](auto& a) { a.latency = 2; });
    ASSERT_EQ(ax().setMessagingTimeout(ax().systemWideElement(), 1.0), AXError::success);
    start = scheduler.now();
    EXPECT_EQ(ax().copyAttributeValue(fresh, attribute::position, value), AXError::cannotComplete);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(1.0));
    ASSERT_EQ(ax().setMessagingTimeout(ax().systemWideElement(), 0), AXError::success);
    start = scheduler.now();
    EXPECT_EQ(ax().copyAttributeValue(fresh, attribute::position, value), AXError::success);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(2.0));
    EXPECT_EQ(ax().setMessagingTimeout(window, -1), AXError::illegalArgument);
}

TEST_F(AccessibilityHostTest, UntrustedCallsAndGoneElementsAnswerAtOnce) {
    tool->permissionsAdmin().set(Permission::accessibility, false);
    EXPECT_FALSE(ax().isProcessTrusted());
    AXValue value;
    std::unique_ptr<accessibility::AXObserver> observer;
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::notTrusted);
    EXPECT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Size{500, 500})), AXError::notTrusted);
    EXPECT_EQ(ax().createObserver(pid, [](const AXElement&, const std::string&) {}, observer), AXError::notTrusted);
    tool->permissionsAdmin().set(Permission::accessibility, true);
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::success);

    admin().close(number);
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::position, value), AXError::invalidElement);
    EXPECT_EQ(ax().performAction(window, action::raise), AXError::invalidElement);
    const auto application = ax().applicationElement(pid);
    EXPECT_EQ(ax().copyAttributeValue(application, attribute::role, value), AXError::success);
    admin().quit(pid);
    EXPECT_EQ(ax().copyAttributeValue(application, attribute::role, value), AXError::invalidElement);
    EXPECT_EQ(app->applicationWorkspace().runningApplication(pid), std::nullopt);
    EXPECT_EQ(app->processes().name(pid), std::nullopt);
}

TEST_F(AccessibilityHostTest, ZoomAnimatesToTheVisibleFrameAndBack) {
    ASSERT_EQ(ax().performAction(button(attribute::zoomButton), action::press), AXError::success);
    EXPECT_EQ(frame(window), kStart);
    std::vector<Rect> steps;
    for (int step = 0; step < kZoomSteps; ++step) {
        scheduler.advanceBy(kZoomStepSeconds);
        steps.push_back(frame(window));
    }
    for (std::size_t step = 0; step + 1 < steps.size(); ++step) {
        EXPECT_LT(steps[step].width, steps[step + 1].width);
        EXPECT_NE(steps[step], kVisible);
    }
    EXPECT_EQ(steps.back(), kVisible);
    scheduler.advanceBy(1);
    EXPECT_EQ(frame(window), kVisible);

    // The Window menu's "缩放" zooms the focused window back to where the user had it.
    const auto menuBar = read<AXElement>(ax().applicationElement(pid), attribute::menuBar);
    const auto menus = read<std::vector<AXElement>>(menuBar, attribute::children);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(read<std::string>(menus[0], attribute::title), "窗口");
    const auto items = read<std::vector<AXElement>>(read<std::vector<AXElement>>(menus[0], attribute::children)[0],
                                                    attribute::children);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(read<std::string>(items[0], attribute::title), "最小化");
    EXPECT_EQ(read<std::string>(items[1], attribute::title), "缩放");
    ASSERT_EQ(ax().performAction(items[1], action::press), AXError::success);
    scheduler.advanceBy(kZoomSteps * kZoomStepSeconds);
    EXPECT_EQ(frame(window), kStart);

    struct Mode {
        ZoomMode zoom;
        Rect settled;
    };
    for (const auto& mode : {Mode{ZoomMode::none, kStart}, Mode{ZoomMode::bounce, kStart},
                             Mode{ZoomMode::shortBy, {0, 38, 1472, 904}}}) {
        const auto other = open(pid, kStart);
        admin().behaveWindow(other, [&mode](auto& w) {
            w.behaviours.zoom = mode.zoom;
            w.behaviours.zoomShortBy = 40;
        });
        const auto element = windowElement(pid, other);
        ASSERT_EQ(ax().performAction(read<AXElement>(element, attribute::zoomButton), action::press), AXError::success);
        scheduler.advanceBy(kZoomStepSeconds * 2);
        EXPECT_EQ(frame(element) == kStart, mode.zoom == ZoomMode::none) << rawValue(mode.zoom);
        scheduler.advanceBy(1);
        EXPECT_EQ(frame(element), mode.settled) << rawValue(mode.zoom);
    }
}

TEST_F(AccessibilityHostTest, FullScreenChangesHalfASecondAfterTheWrite) {
    ASSERT_EQ(ax().setAttributeValue(window, attribute::fullScreen, AXValue(true)), AXError::success);
    scheduler.advanceBy(kFullScreenSeconds - 0.01);
    EXPECT_FALSE(read<bool>(window, attribute::fullScreen));
    scheduler.advanceBy(0.01);
    EXPECT_TRUE(read<bool>(window, attribute::fullScreen));
    EXPECT_EQ(frame(window), (Rect{0, 0, 1512, 982}));
    // Frame writes do nothing while it fills the screen.
    ASSERT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Size{300, 300})), AXError::success);
    EXPECT_EQ(frame(window), (Rect{0, 0, 1512, 982}));
    ASSERT_EQ(ax().setAttributeValue(window, attribute::fullScreen, AXValue(false)), AXError::success);
    scheduler.advanceBy(kFullScreenSeconds);
    EXPECT_FALSE(read<bool>(window, attribute::fullScreen));
    EXPECT_EQ(frame(window), kStart);
}

TEST_F(AccessibilityHostTest, ButtonsMenusRaiseKeysAndActivation) {
    const auto second = open(pid, {200, 200, 600, 400});
    const auto application = ax().applicationElement(pid);
    EXPECT_EQ(read<AXElement>(application, attribute::focusedWindow), windowElement(pid, second));

    // A disabled close button fails; a press on the minimise button hands the focus on.
    admin().behaveWindow(second, [](auto& w) { w.closeButton = ButtonState::disabled; });
    const auto close = read<AXElement>(windowElement(pid, second), attribute::closeButton);
    EXPECT_FALSE(read<bool>(close, attribute::enabled));
    EXPECT_EQ(ax().performAction(close, action::press), AXError::failure);
    ASSERT_EQ(ax().performAction(read<AXElement>(windowElement(pid, second), attribute::minimizeButton), action::press),
              AXError::success);
    EXPECT_TRUE(read<bool>(windowElement(pid, second), attribute::minimized));
    EXPECT_EQ(read<AXElement>(application, attribute::mainWindow), window);
    ASSERT_EQ(ax().setAttributeValue(windowElement(pid, second), attribute::minimized, AXValue(false)),
              AXError::success);
    EXPECT_EQ(read<AXElement>(application, attribute::focusedWindow), windowElement(pid, second));
    ASSERT_EQ(ax().performAction(window, action::raise), AXError::success);
    EXPECT_TRUE(read<bool>(window, attribute::main));
    EXPECT_EQ(read<std::vector<AXElement>>(application, attribute::windows).front(), window);

    // Command-W closes the focused window only of an application that closes on it.
    EXPECT_TRUE(app->keyPosting().postToProcess(pid, {13, 0x100000, true}));
    AXValue value;
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::role, value), AXError::success);
    admin().behaveApplication(pid, [](auto& a) { a.closesOnCommandW = true; });
    EXPECT_TRUE(app->keyPosting().postToProcess(pid, {13, 0x100000, true}));
    EXPECT_EQ(ax().copyAttributeValue(window, attribute::role, value), AXError::invalidElement);

    // Menus: a disabled item fails, no menu bar has no value.
    admin().behaveApplication(pid, [](auto& a) { a.menuBar->front().items[0].enabled = false; });
    const auto menu = read<std::vector<AXElement>>(
        read<std::vector<AXElement>>(read<AXElement>(application, attribute::menuBar), attribute::children)[0],
        attribute::children)[0];
    EXPECT_EQ(ax().performAction(read<std::vector<AXElement>>(menu, attribute::children)[0], action::press),
              AXError::failure);
    admin().behaveApplication(pid, [](auto& a) { a.menuBar.reset(); });
    EXPECT_EQ(ax().copyAttributeValue(application, attribute::menuBar, value), AXError::noValue);

    // Activation, which an application can refuse.
    const auto other = launch("浏览器");
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, other);
    EXPECT_TRUE(app->applicationWorkspace().activate(pid));
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, pid);
    admin().behaveApplication(other, [](auto& a) { a.activationFails = true; });
    EXPECT_FALSE(app->applicationWorkspace().activate(other));
    EXPECT_EQ(logged({"activateApplication"}).back(), "activateApplication pid=" + std::to_string(other) +
                                                          " activated=false");
}

TEST_F(AccessibilityHostTest, AttributesAnswerByElementAndSettability) {
    const auto application = ax().applicationElement(pid);
    struct Case {
        AXElement element;
        std::string_view attribute;
        AXError copied;
        std::optional<bool> settable;  // none: the settability query fails as the copy does
    };
    admin().behaveWindow(number, [](auto& w) { w.settable = {"AXPosition"}; });
    const std::vector<Case> cases = {
        {window, attribute::position, AXError::success, true},
        {window, attribute::size, AXError::success, false},
        {window, attribute::title, AXError::success, false},
        {window, "AXBogus", AXError::attributeUnsupported, std::nullopt},
        {application, attribute::enhancedUserInterface, AXError::noValue, true},
        {application, attribute::frontmost, AXError::success, true},
        {application, attribute::position, AXError::attributeUnsupported, std::nullopt},
        {ax().systemWideElement(), "AXFocusedApplication", AXError::success, false},
    };
    for (const auto& test : cases) {
        AXValue value;
        EXPECT_EQ(ax().copyAttributeValue(test.element, test.attribute, value), test.copied) << test.attribute;
        bool settable = false;
        const auto error = ax().isAttributeSettable(test.element, test.attribute, settable);
        EXPECT_EQ(error == AXError::success, test.settable.has_value()) << test.attribute;
        if (test.settable) {
            EXPECT_EQ(settable, *test.settable) << test.attribute;
        }
    }
    EXPECT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Size{300, 300})), AXError::attributeUnsupported);
    EXPECT_EQ(read<AXElement>(ax().systemWideElement(), "AXFocusedApplication"), application);
    EXPECT_EQ(read<std::string>(application, attribute::title), "编辑器");

    // A zoom button that is a full-screen button enters full screen instead.
    admin().behaveWindow(number, [](auto& w) { w.zoomButtonSubrole = "AXFullScreenButton"; });
    const auto zoom = button(attribute::zoomButton);
    EXPECT_EQ(read<std::string>(zoom, attribute::subrole), "AXFullScreenButton");
    ASSERT_EQ(ax().performAction(zoom, action::press), AXError::success);
    scheduler.advanceBy(kFullScreenSeconds);
    EXPECT_TRUE(read<bool>(window, attribute::fullScreen));
}

TEST_F(AccessibilityHostTest, OnlyCommandWClosesAndOnlyOnItsWayDown) {
    admin().behaveApplication(pid, [](auto& a) { a.closesOnCommandW = true; });
    struct Case {
        events::KeyEvent key;
        bool closes;
    };
    const std::vector<Case> cases = {
        {{13, 0x20000, true}, false},             // Shift-W
        {{12, 0x100000, true}, false},            // Command-Q
        {{13, 0x100000, false}, false},           // the release
        {{13, 0x100000 | 0x20000, true}, true},   // Command-Shift-W
    };
    for (const auto& test : cases) {
        const auto subject = open(pid, kStart);
        EXPECT_TRUE(app->keyPosting().postToProcess(pid, test.key));
        AXValue value;
        EXPECT_EQ(ax().copyAttributeValue(windowElement(pid, subject), attribute::role, value) ==
                      AXError::invalidElement,
                  test.closes)
            << test.key.code << " " << test.key.flags << " " << test.key.down;
    }
    EXPECT_EQ(logged({"postEvent"}).back(),
              "postEvent pid=" + std::to_string(pid) + " code=13 flags=0x120000 down=true posted=true");
}

TEST_F(AccessibilityHostTest, WriteBehavioursIgnoreRefuseDelayAndPressTheButton) {
    admin().behaveWindow(number, [](auto& w) {
        w.behaviours.ignoredWrites = 1;
        w.behaviours.mouseDownAfterWrites = 2;
    });
    EXPECT_EQ(ax().setAttributeValue(window, attribute::position, AXValue(Point{10, 40})), AXError::success);
    EXPECT_EQ(frame(window), kStart);
    EXPECT_EQ(app->pointer().pressedButtons(), 0u);
    EXPECT_EQ(ax().setAttributeValue(window, attribute::position, AXValue(Point{10, 40})), AXError::success);
    EXPECT_EQ(frame(window), (Rect{10, 40, 800, 600}));
    EXPECT_EQ(app->pointer().pressedButtons(), 1u);

    admin().behaveWindow(number, [](auto& w) { w.behaviours.refuseCode = -25200; });
    EXPECT_EQ(ax().setAttributeValue(window, attribute::position, AXValue(Point{0, 38})), AXError::failure);

    // Enhanced user interface slows the landing; writes that land late reach the window
    // list later still, and their notification arrives when they land.
    admin().behaveWindow(number, [](auto& w) {
        w.behaviours.refuseCode.reset();
        w.behaviours.enhancedUISettle = 0.5;
        w.behaviours.lateBy = 1;
    });
    const auto application = ax().applicationElement(pid);
    ASSERT_EQ(ax().setAttributeValue(application, attribute::enhancedUserInterface, AXValue(true)), AXError::success);
    EXPECT_TRUE(read<bool>(application, attribute::enhancedUserInterface));
    int moves = 0;
    std::unique_ptr<accessibility::AXObserver> observer;
    ASSERT_EQ(ax().createObserver(pid, [&moves](const AXElement&, const std::string&) { ++moves; }, observer),
              AXError::success);
    ASSERT_EQ(observer->addNotification(window, accessibility::notification::windowMoved), AXError::success);
    ASSERT_EQ(ax().setAttributeValue(window, attribute::position, AXValue(Point{0, 38})), AXError::success);
    auto listed = [this] { return list(accessibility::windowlist::includingWindow, number)[0]["bounds"]["x"]; };
    scheduler.advanceBy(1.49);
    EXPECT_EQ(frame(window).x, 10);
    EXPECT_EQ(moves, 0);
    scheduler.advanceBy(0.01);
    EXPECT_EQ(frame(window).x, 0);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(listed(), 10.0);
    scheduler.advanceBy(1);
    EXPECT_EQ(listed(), 0.0);
}

TEST_F(AccessibilityHostTest, ReadingChangesNothingInTheHost) {
    admin().behaveWindow(number, [](auto& w) { w.behaviours.lateBy = 1; });
    ASSERT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Size{500, 500})), AXError::success);
    ASSERT_EQ(ax().performAction(read<AXElement>(window, attribute::zoomButton), action::press), AXError::success);
    FaultRule rule;
    rule.call = HostCall::axCopyAttribute;
    rule.action = FaultAction::value;
    rule.name = std::string(attribute::title);
    tool->admin().addFault(rule);
    const auto before = admin().view().state;
    const auto logLength = store->actionLog().size();
    for (int round = 0; round < 3; ++round) {
        bool settable = false;
        AXValue value;
        ax().copyAttributeValue(window, attribute::title, value);
        ax().isAttributeSettable(window, attribute::size, settable);
        list(accessibility::windowlist::onScreenOnly);
        frame(window);
        app->pointer().location();
        app->applicationWorkspace().frontmostApplication();
        scheduler.advanceBy(0.6);
    }
    EXPECT_EQ(admin().view().state, before);
    EXPECT_EQ(store->actionLog().size(), logLength + 3);  // the three faulted copies
    EXPECT_EQ(tool->admin().faults().front().matched, 0u);
}

TEST_F(AccessibilityHostTest, EveryFaultSelectorActs) {
    const auto other = open(pid, {300, 300, 400, 300});
    auto rule = [](HostCall call, FaultAction action) {
        FaultRule made;
        made.call = call;
        made.action = action;
        return made;
    };
    auto copy = [this](const AXElement& element, std::string_view name) {
        AXValue value;
        return std::make_pair(ax().copyAttributeValue(element, name, value), value);
    };
    auto position = [&](const AXElement& element) { return copy(element, attribute::position).first; };

    auto byName = rule(HostCall::axCopyAttribute, FaultAction::fail);
    byName.axCode = AXError::cannotComplete;
    byName.name = std::string(attribute::position);
    byName.window = number;
    byName.pid = pid;
    byName.skip = 1;
    byName.times = 1;
    tool->admin().addFault(byName);
    EXPECT_EQ(position(windowElement(pid, other)), AXError::success);  // another window
    EXPECT_EQ(copy(window, attribute::size).first, AXError::success);  // another name
    EXPECT_EQ(position(window), AXError::success);                     // skipped
    EXPECT_EQ(position(window), AXError::cannotComplete);
    EXPECT_EQ(position(window), AXError::success);                     // done
    tool->admin().clearFaults();

    auto otherRole = rule(HostCall::axCopyAttribute, FaultAction::nothing);
    otherRole.role = processes::ProcessRole::workerCommit;
    tool->admin().addFault(otherRole);
    EXPECT_EQ(position(window), AXError::success);
    tool->admin().clearFaults();

    for (const auto kind : {FaultValue::wrongType, FaultValue::nan, FaultValue::zero}) {
        auto malformed = rule(HostCall::axCopyAttribute, FaultAction::value);
        malformed.valueKind = kind;
        tool->admin().addFault(malformed);
        const auto [error, value] = copy(window, attribute::size);
        EXPECT_EQ(error, AXError::success);
        const auto* size = std::get_if<Size>(&value);
        EXPECT_EQ(size == nullptr, kind == FaultValue::wrongType);
        if (size) {
            EXPECT_EQ(std::isnan(size->width), kind == FaultValue::nan);
            EXPECT_EQ(*size == Size{}, kind == FaultValue::zero);
        }
        tool->admin().clearFaults();
    }

    tool->admin().addFault(rule(HostCall::axSetAttribute, FaultAction::nothing));
    EXPECT_EQ(ax().setAttributeValue(window, attribute::size, AXValue(Size{500, 500})), AXError::failure);
    EXPECT_EQ(frame(window), kStart);
    tool->admin().clearFaults();

    auto delayed = rule(HostCall::axIsAttributeSettable, FaultAction::delay);
    delayed.seconds = 0.2;
    tool->admin().addFault(delayed);
    bool settable = false;
    double start = scheduler.now();
    EXPECT_EQ(ax().isAttributeSettable(window, attribute::size, settable), AXError::success);
    EXPECT_TRUE(settable);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(0.2));
    tool->admin().clearFaults();
    tool->admin().addFault(rule(HostCall::axPerformAction, FaultAction::hang));
    start = scheduler.now();
    EXPECT_EQ(ax().performAction(window, action::raise), AXError::cannotComplete);
    EXPECT_EQ(microseconds(scheduler.now() - start), microseconds(kDefaultMessagingTimeout));
    tool->admin().clearFaults();

    std::unique_ptr<accessibility::AXObserver> observer;
    tool->admin().addFault(rule(HostCall::axCreateObserver, FaultAction::nothing));
    EXPECT_EQ(ax().createObserver(pid, [](const AXElement&, const std::string&) {}, observer), AXError::failure);
    EXPECT_EQ(observer, nullptr);
    tool->admin().addFault(rule(HostCall::windowList, FaultAction::nothing));
    EXPECT_EQ(app->windowList().copyWindowList(accessibility::windowlist::onScreenOnly, 0), std::nullopt);
    tool->admin().addFault(rule(HostCall::activateApplication, FaultAction::nothing));
    EXPECT_FALSE(app->applicationWorkspace().activate(pid));
    admin().behaveApplication(pid, [](auto& a) { a.closesOnCommandW = true; });
    tool->admin().addFault(rule(HostCall::postEvent, FaultAction::nothing));
    EXPECT_FALSE(app->keyPosting().postToProcess(pid, {13, 0x100000, true}));
    EXPECT_EQ(position(windowElement(pid, other)), AXError::success);  // nothing was closed
    tool->admin().clearFaults();

    auto mistyped = rule(HostCall::windowList, FaultAction::value);
    tool->admin().addFault(mistyped);
    EXPECT_TRUE(list(accessibility::windowlist::onScreenOnly)[0]["bounds"].is_string());
}

}  // namespace
}  // namespace dorvane::host
