#include "Dorvane/QtHost/QtOwnWindows.h"

#include <cmath>

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QWidget>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"

namespace dorvane::qthost {

namespace {

constexpr char kIDProperty[] = "corvelleOwnWindowID";

int whole(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

QtOwnWindows::QtOwnWindows(NumberOf numberOf) : numberOf_(std::move(numberOf)) {}

windows::OwnWindowID QtOwnWindows::idOf(QWidget* window) {
    bool known = false;
    const auto id = window->property(kIDProperty).toULongLong(&known);
    if (known && windows_.contains(id)) return id;
    const windows::OwnWindowID made = nextID_++;
    window->setProperty(kIDProperty, QVariant::fromValue<qulonglong>(made));
    windows_[made] = window;
    return made;
}

QWidget* QtOwnWindows::widget(windows::OwnWindowID window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.data();
}

std::optional<windows::OwnWindowID> QtOwnWindows::keyWindow() {
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr) return std::nullopt;
    return idOf(active);
}

std::vector<windows::OwnWindowID> QtOwnWindows::windows() {
    std::vector<windows::OwnWindowID> ids;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isWindow()) ids.push_back(idOf(window));
    }
    return ids;
}

std::optional<windows::OwnWindowState> QtOwnWindows::state(windows::OwnWindowID id) {
    const QWidget* window = widget(id);
    if (window == nullptr) return std::nullopt;
    const auto described = describeOwnWindow(*window);
    const auto flags = window->windowFlags();
    windows::OwnWindowState state;
    state.frame = described.frame;
    state.number = numberOf_ ? numberOf_(window) : std::nullopt;
    state.panel = window->windowType() == Qt::Tool || dynamic_cast<const OverlayFloatingPanel*>(window) != nullptr;
    state.titled = described.titled;
    state.level = described.level;
    state.visible = window->isVisible();
    state.minimized = window->isMinimized();
    state.fullScreen = window->isFullScreen();
    state.closable = flags.testFlag(Qt::WindowCloseButtonHint);
    state.miniaturizable = flags.testFlag(Qt::WindowMinimizeButtonHint);
    state.resizable = window->minimumSize() != window->maximumSize();
    return state;
}

void QtOwnWindows::close(windows::OwnWindowID id) {
    if (QWidget* window = widget(id)) window->close();
}

void QtOwnWindows::minimize(windows::OwnWindowID id) {
    if (QWidget* window = widget(id)) window->showMinimized();
}

void QtOwnWindows::toggleFullScreen(windows::OwnWindowID id) {
    QWidget* window = widget(id);
    if (window == nullptr) return;
    if (window->isFullScreen()) {
        window->showNormal();
    } else {
        window->showFullScreen();
    }
}

void QtOwnWindows::setFrame(windows::OwnWindowID id, const geometry::Rect& frame) {
    if (QWidget* window = widget(id)) {
        window->setGeometry(whole(frame.minX()), whole(frame.minY()), whole(std::abs(frame.width)),
                            whole(std::abs(frame.height)));
    }
}

dispatch::Observation QtOwnWindows::observeKeyWindow(std::function<void()> handler) {
    const auto connection = QObject::connect(qApp, &QGuiApplication::focusWindowChanged, this,
                                             [handler = std::move(handler)](QWindow*) { handler(); });
    return dispatch::Observation([connection] { QObject::disconnect(connection); });
}

}  // namespace dorvane::qthost
