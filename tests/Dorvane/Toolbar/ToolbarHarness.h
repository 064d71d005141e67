#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QMouseEvent>

#include <sstream>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Machines/WindowFixtures.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Platform/Host/WindowHostSupport.h"
#include "tests/Support/OperationLines.h"

namespace dorvane::testing {

// Mouse input through the widget's window, as the platform (or the host) delivers it, so
// that Qt's implicit grab takes the moves and the release to the pressed widget.
// `global` is in Qt's space.
inline void mouseAt(QWidget& widget, QEvent::Type type, QPointF global, Qt::MouseButtons buttons = Qt::LeftButton) {
    QWidget* window = widget.window();
    const QPointF inWindow = global - QPointF(window->geometry().topLeft());
    QMouseEvent event(type, inWindow, inWindow, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &event);
}
inline void mouse(QWidget& widget, QEvent::Type type, QPointF local, Qt::MouseButtons buttons = Qt::LeftButton) {
    mouseAt(widget, type, QPointF(widget.mapToGlobal(QPoint(0, 0))) + local, buttons);
}
inline void tap(QWidget& widget) {
    const QPointF centre = QRectF(widget.rect()).center();
    mouse(widget, QEvent::MouseButtonPress, centre);
    mouse(widget, QEvent::MouseButtonRelease, centre, Qt::NoButton);
}

// The toolbar on the in-memory host in virtual time: one 1440 × 924 display whose
// 24-point menu bar leaves a 1440 × 900 visible frame, Accessibility granted, the
// shell's callbacks recorded.
class ToolbarTest : public host::WindowHostTest, public OperationLines {
protected:
    using OperationLines::logged;
    using WindowHostTest::logged;

    using Rect = geometry::Rect;

    void SetUp() override {
        WindowHostTest::SetUp();
        qtApplication();
        VisualAppearance::shared().set(false, false);
        setDisplay(1440, 924);
        ownPID = app->process().pid;
        catalog = std::make_unique<windows::ApplicationWindowCatalog>(
            scheduler.makeSerialQueue("catalog"), app->accessibility(),
            [this, query = windows::ApplicationWindowCatalog::windowServerQuery(app->windowList(),
                                                                                app->applicationWorkspace(), ownPID)] {
                if (scanFailure) throw std::runtime_error(*scanFailure);
                return query();
            },
            [this] { return scheduler.uptime(); });
        globalPointer = std::make_unique<HostGlobalPointerMonitor>(app->pointer());
        // The program is an application of the host: its windows are listed and the host's
        // clicks on them reach their widgets.
        reporter = std::make_unique<qthost::QtOwnWindowReporter>(app->ownWindows(), reporterErrors);
        reporter->start();
        toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
            scheduler.mainQueue(), scheduler, app->screens(), app->applicationWorkspace(), app->workspace(),
            app->accessibility(), *catalog, [this](pid_t) { return answer(filled); },
            ShortcutSender::Services{app->events(), app->pointer(), app->applicationWorkspace(), app->accessibility(),
                                     app->systemSound(), scheduler.mainQueue(), scheduler, logTo(), nullptr},
            logTo(), ownPID, globalPointer.get(),
            [this](const QWidget* window) -> std::int64_t { return reporter->number(window).value_or(0); }, {}, {}});
        toolbar->reduceMotion = [this] { return reduceMotion; };
        toolbar->setHostMouseFacts(qthost::hostMouseFacts(*reporter, app->pointer()));
        shell::ToolbarCallbacks callbacks;
        callbacks.onAction = [this](FloatingAction action) {
            calls.push_back("action " + std::string(rawValue(action)));
            if (actionFailure) throw std::runtime_error(*actionFailure);
        };
        callbacks.onWindowSnap = [this](windows::WindowSnap snap) { calls.push_back("snap " + std::string(rawValue(snap))); };
        callbacks.onArrange = [this](windows::WindowArrangement arrangement) {
            calls.push_back("arrange " + std::string(rawValue(arrangement)));
        };
        // As the shell closes its panels: no active panel, then the three updates.
        callbacks.onDismissPanels = [this] {
            calls.push_back("dismiss");
            toolbar->setActivePanel(std::nullopt);
            toolbar->updateAttachedSurface();
            toolbar->updateSelection();
            toolbar->updateDismissalMonitors();
        };
        callbacks.onWillCollapse = [this] { calls.push_back("willCollapse"); };
        callbacks.onExpansionChanged = [this] { calls.push_back("expansionChanged"); };
        callbacks.companionFrame = [this] { return companion; };
        callbacks.fillTargetPID = [this] { return fillTarget; };
        toolbar->setCallbacks(std::move(callbacks));
    }

    void TearDown() override {
        toolbar.reset();
        reporter.reset();
        scheduler.runUntilIdle();
        settle();
    }

    static dispatch::Task<bool> answer(bool value) { co_return value; }

    // The main display switches to a mode of this size in points, with an ordinary menu bar.
    void setDisplay(double width, double height) {
        const std::int32_t id = ++lastModeID;
        tool->admin().edit([&](host::HostState& state) {
            auto& display = state.displays.front();
            display.notch = false;
            auto mode = display.modes.front();
            mode.info.modeID = id;
            mode.info.width = static_cast<std::int64_t>(width);
            mode.info.height = static_cast<std::int64_t>(height);
            mode.info.pixelWidth = mode.info.width * 2;
            mode.info.pixelHeight = mode.info.height * 2;
            display.modes.push_back(mode);
        });
        tool->admin().setMode("builtin", id);
    }
    std::int32_t lastModeID = 900;

    void configure(std::function<void(Preferences&)> change = {}) {
        if (change) change(preferences);
        toolbar->configure(preferences);
    }
    // Enabled, expanded without animation, on `side`.
    void expandOn(ToolbarSide side) {
        preferences.toolbarSide = side;
        configure();
        toolbar->setEnabled(true);
        reduceMotion = true;
        toolbar->toggleList();
        reduceMotion = false;
        scheduler.runUntilIdle();
        calls.clear();
    }

    // The panel's frame in Qt's space, unrounded.
    Rect qtFrame(const ToolbarPanel& panel) const { return qthost::fromQRectF(panel.qtFrame()); }

    ToolbarButton* stripButton(const std::string& identifier) const {
        const auto found = toolbar->buttons().find(identifier);
        return found == toolbar->buttons().end() ? nullptr : found->second.data();
    }

    std::size_t count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }

    // The keyboard events delivered to `pid`, as "keyDown(40, 0x12000a)"; modifier changes
    // end in ↓ or ↑.
    std::vector<std::string> keysTo(pid_t pid) const {
        std::vector<std::string> keys;
        for (const auto& record : app->hostEvents().delivered()) {
            const auto& event = record.event;
            if (record.receiver != pid || !events::isKeyboardType(event.type)) continue;
            std::string text = std::string(rawValue(event.type)) + "(" + std::to_string(event.keyCode()) + ")";
            if (event.type == events::EventType::flagsChanged) text += events::isModifierPress(event) ? "↓" : "↑";
            keys.push_back(text);
        }
        return keys;
    }

    pid_t ownPID = 0;
    bool reduceMotion = false;
    bool filled = false;
    std::optional<pid_t> fillTarget;
    std::optional<Rect> companion;
    Preferences preferences;
    std::vector<std::string> calls;
    std::optional<std::string> actionFailure;  // the shell's action callback throws it
    std::optional<std::string> scanFailure;    // reading the other applications' windows throws it
    std::unique_ptr<windows::ApplicationWindowCatalog> catalog;
    std::unique_ptr<HostGlobalPointerMonitor> globalPointer;
    std::ostringstream reporterErrors;
    std::unique_ptr<qthost::QtOwnWindowReporter> reporter;
    std::unique_ptr<FloatingSwitcher> toolbar;
};

// The toolbar over the host's desk: a browser, a terminal and an editor with windows.
class DeskToolbarTest : public ToolbarTest {
protected:
    void SetUp() override {
        ToolbarTest::SetUp();
        tool->windowsAdmin().reset(host::WindowsFixture::desk);
        for (const auto& application : tool->windowsAdmin().view().applications) pids[application.name] = application.pid;
    }
    void front(const std::string& name) {
        app->applicationWorkspace().activate(pids.at(name));
        scheduler.runUntilIdle();
    }

    std::map<std::string, pid_t> pids;
};

}  // namespace dorvane::testing
