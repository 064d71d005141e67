#include "Dorvane/QtHost/QtOwnWindowReporter.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <string>
#include <utility>

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/OwnInputConversions.h"
#include "Dorvane/QtHost/QtOwnWheelDelivery.h"
#include "DorvaneCore/Launcher/ApplicationBundle.h"

namespace dorvane::qthost {

namespace {

bool hasTitleBar(const QWidget& window) {
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint)) return false;
    switch (window.windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

std::int32_t levelOf(const QWidget& window) {
    bool declared = false;
    const int level = window.property(kWindowLevelProperty).toInt(&declared);
    if (declared) return level;
    if (window.windowType() == Qt::Tool || window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return 3;
    return 0;
}

// Only windows the user can see take part; widgets rendered off screen on purpose do not.
bool isReportable(const QWidget& widget) {
    return widget.isWindow() && !widget.testAttribute(Qt::WA_DontShowOnScreen) &&
           !widget.property(kDecorationProperty).toBool();
}

}  // namespace

bool QtOwnWindowReporter::attempt(const std::function<void()>& call) {
    try {
        call();
        failing_ = false;
        return true;
    } catch (const std::exception& error) {
        if (!failing_) errors_ << "Corvelle: own windows: " << error.what() << std::endl;
        failing_ = true;
        lastFailure_ = error.what();
        return false;
    }
}

workspace::OwnWindow describeOwnWindow(const QWidget& window) {
    // What setGeometry() takes, so that a frame read from the list can be written back
    // as it is (window decorations, where a window manager adds any, stay outside).
    const QRect frame = window.geometry();
    return workspace::OwnWindow{window.windowTitle().toStdString(),
                                geometry::Rect{static_cast<double>(frame.x()), static_cast<double>(frame.y()),
                                               static_cast<double>(frame.width()), static_cast<double>(frame.height())},
                                hasTitleBar(window), levelOf(window), window.isVisible(), window.isMinimized()};
}

QtOwnWindowReporter::QtOwnWindowReporter(workspace::OwnWindows& host, std::ostream& errors)
    : host_(host), errors_(errors) {}

void QtOwnWindowReporter::start() {
    if (started_) return;
    started_ = true;
    ensureRegistered();
    attempt([this] { observeHost(); });
    QApplication::instance()->installEventFilter(this);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) sync(window);
    }
}

void QtOwnWindowReporter::observeHost() {
    observations_.push_back(host_.observeClicks([this](const workspace::OwnWindowClick& click) { deliverClick(click); }));
    observations_.push_back(host_.observeEvents(
        [this](const events::Event& event, std::uint32_t window) { deliverEvent(event, window); }));
    observations_.push_back(host_.observeRemovals([this](std::uint32_t number) { removedByHost(number); }));
    observations_.push_back(host_.observeChanges([this](std::uint32_t number) { moves_.changedByHost(number); }));
    observations_.push_back(host_.observeActivation(
        [this](const workspace::OwnActivation& now) { activation_.changedInHost(now); }));
    observations_.push_back(host_.observePointerElsewhere([this] { pointer_.left(); }));
    activation_.begin(host_.activation());
}

QtOwnWindowReporter::~QtOwnWindowReporter() {
    if (!started_) return;
    QApplication::instance()->removeEventFilter(this);
    for (auto& observation : observations_) observation.cancel();
    for (const auto& [key, entry] : reported_) {
        attempt([this, number = entry.number] { host_.removeWindow(number); });
    }
}

std::optional<std::uint32_t> QtOwnWindowReporter::number(const QWidget* window) const {
    const auto found = reported_.find(window);
    if (found == reported_.end()) return std::nullopt;
    return found->second.number;
}

QWidget* QtOwnWindowReporter::widget(std::uint32_t number) const {
    for (const auto& [key, entry] : reported_) {
        if (entry.number == number) return entry.widget;
    }
    return nullptr;
}

std::optional<std::uint32_t> QtOwnWindowReporter::listNow(QWidget* window) {
    sync(window);
    return number(window);
}

workspace::OwnWindow* QtOwnWindowReporter::shown(const QWidget* window) {
    const auto found = reported_.find(window);
    return found == reported_.end() ? nullptr : &found->second.shown;
}

bool QtOwnWindowReporter::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the application passes here: decide on the type before anything else.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowTitleChange:
    case QEvent::WindowStateChange:
    case QEvent::ParentChange:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::DynamicPropertyChange:
        break;
    default:
        return false;
    }
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (widget->isWindow()) schedule(widget);
        break;
    case QEvent::WindowActivate:
        if (widget->isWindow() && widget->property(kActivationHandBackProperty).toBool()) {
            widget->setProperty(kActivationHandBackProperty, QVariant());
        } else if (widget->isWindow()) {
            activation_.activatedInQt(*widget);
        }
        break;
    case QEvent::DynamicPropertyChange:
        if (static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == kWindowLevelProperty) sync(widget);
        break;
    case QEvent::ParentChange:
        // A window put inside another widget is no longer one of the list's windows.
        if (!isReportable(*widget)) {
            if (const auto known = number(widget)) {
                remove(*known);
                forget(widget);
            }
            break;
        }
        sync(widget);
        break;
    default:
        sync(widget);
        break;
    }
    return false;
}

void QtOwnWindowReporter::sync(QWidget* window) {
    if (!syncNow(window)) catchUpLater(window, std::nullopt);
}

bool QtOwnWindowReporter::syncNow(QWidget* window) {
    if (!isReportable(*window)) return true;
    std::erase(pending_, window);
    const auto shown = describeOwnWindow(*window);
    if (const auto found = reported_.find(window); found != reported_.end()) {
        auto& entry = found->second;
        if (entry.shown == shown) return true;
        bool listed = true;
        if (!attempt([&] { listed = host_.updateWindow(entry.number, shown); })) return false;
        if (listed) {
            entry.shown = shown;
            return true;
        }
        // Closed from outside before its removal reached us: listed afresh below.
        unlist(window);
    }
    if (!window->isVisible()) return true;
    if (!ensureRegistered()) return false;
    std::uint32_t added = 0;
    if (!attempt([&] { added = host_.addWindow(shown); })) return false;
    const auto destroyed = connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        if (const auto found = reported_.find(gone); found != reported_.end()) remove(found->second.number);
        forget(gone);
    });
    reported_[window] = Reported{window, added, shown, destroyed};
    return true;
}

void QtOwnWindowReporter::remove(std::uint32_t number) {
    if (!attempt([this, number] { host_.removeWindow(number); })) catchUpLater(nullptr, number);
}

void QtOwnWindowReporter::catchUpLater(QWidget* window, std::optional<std::uint32_t> removal) {
    if (window != nullptr && std::find(unsynced_.begin(), unsynced_.end(), window) == unsynced_.end()) {
        unsynced_.emplace_back(window);
    }
    if (removal) unremoved_.push_back(*removal);
    tryAgainLater("own windows",
                  [self = QPointer<QtOwnWindowReporter>(this)] { return self.isNull() || self->catchUp(); });
}

void QtOwnWindowReporter::tryAgainLater(const std::string& key, std::function<bool()> retry) {
    host_.tryAgainLater(key, std::move(retry), lastFailure_);
}

bool QtOwnWindowReporter::catchUp() {
    for (auto waiting = unremoved_.begin(); waiting != unremoved_.end();) {
        const auto number = *waiting;
        if (!attempt([this, number] { host_.removeWindow(number); })) return false;
        waiting = unremoved_.erase(waiting);
    }
    while (!unsynced_.empty()) {
        const QPointer<QWidget> window = unsynced_.front();
        if (window && !syncNow(window)) return false;
        std::erase(unsynced_, window);
        // Activated while it could not be listed: the host hears of it now.
        if (window && window->windowHandle() != nullptr && window->windowHandle() == QGuiApplication::focusWindow()) {
            activation_.activatedInQt(*window);
        }
    }
    return true;
}

void QtOwnWindowReporter::unlist(QWidget* window) {
    if (const auto found = reported_.find(window); found != reported_.end()) disconnect(found->second.destroyed);
    forget(window);
}

// The program's own removals come back here too, for numbers it no longer holds.
void QtOwnWindowReporter::removedByHost(std::uint32_t number) {
    QWidget* window = widget(number);
    if (window == nullptr) return;
    unlist(window);
    // As its close button would: the window decides (the settings window only hides).
    window->close();
}

void QtOwnWindowReporter::schedule(QWidget* window) {
    if (std::find(pending_.begin(), pending_.end(), window) == pending_.end()) pending_.emplace_back(window);
    if (flushQueued_) return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void QtOwnWindowReporter::flush() {
    flushQueued_ = false;
    const auto windows = std::exchange(pending_, {});
    for (const auto& window : windows) {
        if (window) sync(window);
    }
}

void QtOwnWindowReporter::activate(QWidget& window) {
    // Before the program joins the host, Qt's own activation is reported once it does.
    if (!started_) return window.activateWindow();
    activation_.activate(window);
}

void QtOwnWindowReporter::forget(const QObject* window) {
    reported_.erase(window);
    std::erase_if(pending_, [window](const QPointer<QWidget>& waiting) { return waiting == window; });
}

void QtOwnWindowReporter::deliverClick(const workspace::OwnWindowClick& click) {
    if (QWidget* window = widget(click.window)) pointer_.click(click, *window);
}

std::optional<workspace::OwnWindowClick> QtOwnWindowReporter::clickBeingDelivered(const QMouseEvent& event) const {
    return pointer_.clickBeingDelivered(event);
}

void QtOwnWindowReporter::deliverEvent(const events::Event& event, std::uint32_t window) {
    using events::EventType;
    if (events::isKeyboardType(event.type)) return keys_.deliver(event, window);
    QWidget* shown = widget(window);
    if (shown == nullptr) return;
    if (event.type == EventType::scrollWheel) {
        if (QWindow* target = pointer_.target(*shown, globalPoint(event.location))) deliverWheel(event, *target);
        return;
    }
    // The left button's presses and releases come as clicks, with the host's own values.
    if (event.type == EventType::leftMouseDown || event.type == EventType::leftMouseUp) return;
    if (events::isMouseType(event.type)) pointer_.move(event, *shown);
}

bool QtOwnWindowReporter::ensureRegistered() {
    if (!registered_) {
        registered_ = attempt([this] {
            host_.registerApplication("Corvelle", std::string(ownBundleIdentifier));
        });
    }
    return registered_;
}

}  // namespace dorvane::qthost
