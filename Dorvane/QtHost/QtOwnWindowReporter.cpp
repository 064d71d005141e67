#include "Dorvane/QtHost/QtOwnWindowReporter.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <ostream>
#include <string>
#include <utility>

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QWidget>

#include "Dorvane/QtWindowSystem/WindowSystemInput.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
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

// Panels that must not take focus never make the program frontmost, also where the
// platform plugin (offscreen) activates every window it shows.
bool canActivate(const QWidget& window) {
    return !window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) &&
           !window.testAttribute(Qt::WA_ShowWithoutActivating);
}

// Event times in the toolkit's milliseconds, from the host's uptime seconds.
ulong timestampOf(double seconds) { return static_cast<ulong>(std::max(0.0, seconds) * 1000); }

QPointF globalPoint(geometry::Point location) { return QPointF(location.x, location.y); }

QPointF inWindow(const QWindow& window, QPointF global) { return global - QPointF(window.geometry().topLeft()); }

QRect wholePixels(const geometry::Rect& frame) {
    return QRect(static_cast<int>(std::lround(frame.x)), static_cast<int>(std::lround(frame.y)),
                 static_cast<int>(std::lround(frame.width)), static_cast<int>(std::lround(frame.height)));
}

// A trackpad's gesture phases; a mouse wheel has none.
Qt::ScrollPhase phaseOf(const events::Event& event) {
    if (event.field(events::EventField::scrollIsContinuous) == 0) return Qt::NoScrollPhase;
    if (event.field(events::EventField::momentumPhase) != 0) return Qt::ScrollMomentum;
    switch (event.field(events::EventField::scrollPhase)) {
        case 1: return Qt::ScrollBegin;
        case 2: return Qt::ScrollUpdate;
        case 4:
        case 8: return Qt::ScrollEnd;
        default: return Qt::NoScrollPhase;
    }
}

}  // namespace

template <typename Call>
bool QtOwnWindowReporter::attempt(Call&& call) {
    try {
        call();
        failing_ = false;
        return true;
    } catch (const std::exception& error) {
        if (!failing_) errors_ << "Corvelle: own windows: " << error.what() << std::endl;
        failing_ = true;
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
    attempt([this] {
        clicks_ = host_.observeClicks([this](const workspace::OwnWindowClick& click) { deliver(click); });
        events_ = host_.observeEvents(
            [this](const events::Event& event, std::uint32_t window) { deliverEvent(event, window); });
        removals_ = host_.observeRemovals([this](std::uint32_t number) { removedByHost(number); });
        changes_ = host_.observeChanges([this](std::uint32_t number) { changedByHost(number); });
        activations_ = host_.observeActivation(
            [this](const workspace::OwnActivation& now) { hostActivationChanged(now); });
        elsewhere_ = host_.observePointerElsewhere([this] { pointerLeft(); });
        standing_ = host_.activation();
    });
    QApplication::instance()->installEventFilter(this);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) sync(window);
    }
}

QtOwnWindowReporter::~QtOwnWindowReporter() {
    if (!started_) return;
    QApplication::instance()->removeEventFilter(this);
    clicks_.cancel();
    events_.cancel();
    removals_.cancel();
    changes_.cancel();
    activations_.cancel();
    elsewhere_.cancel();
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
        } else if (widget->isWindow() && canActivate(*widget)) {
            activated(widget);
        }
        break;
    case QEvent::DynamicPropertyChange:
        if (static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == kWindowLevelProperty) sync(widget);
        break;
    case QEvent::ParentChange:
        // A window put inside another widget is no longer one of the list's windows.
        if (!isReportable(*widget)) {
            if (const auto known = number(widget)) {
                attempt([this, known] { host_.removeWindow(*known); });
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
    if (!isReportable(*window)) return;
    std::erase(pending_, window);
    const auto shown = describeOwnWindow(*window);
    if (const auto found = reported_.find(window); found != reported_.end()) {
        auto& entry = found->second;
        if (entry.shown == shown) return;
        bool listed = true;
        if (!attempt([&] { listed = host_.updateWindow(entry.number, shown); })) return;
        if (listed) {
            entry.shown = shown;
            return;
        }
        // Closed from outside before its removal reached us: listed afresh below.
        unlist(window);
    }
    if (!window->isVisible() || !ensureRegistered()) return;
    std::uint32_t added = 0;
    if (!attempt([&] { added = host_.addWindow(shown); })) return;
    const auto destroyed = connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        if (const auto found = reported_.find(gone); found != reported_.end()) {
            attempt([this, number = found->second.number] { host_.removeWindow(number); });
        }
        forget(gone);
    });
    reported_[window] = Reported{window, added, shown, destroyed};
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

void QtOwnWindowReporter::activated(QWidget* window) {
    sync(window);
    const auto known = number(window);
    if (known && attempt([this, known] { host_.activateWindow(*known); })) {
        standing_ = workspace::OwnActivation{true, *known};
    }
}

void QtOwnWindowReporter::activate(QWidget& window) {
    // Before the program joins the host, Qt's own activation is reported once it does.
    if (!started_) return window.activateWindow();
    if (!window.isVisible() || !canActivate(window)) return;
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && QGuiApplication::focusWindow() != handle) {
        // Reported to the host as every activation is, through the event filter.
        windowsystem::activated(handle);
    } else {
        // Qt holds it active already, perhaps since before another application came forward.
        activated(&window);
    }
    window.activateWindow();
}

void QtOwnWindowReporter::hostActivationChanged(const workspace::OwnActivation& now) {
    if (!now.frontmost) {
        standing_ = now;
        // Also a panel that took the keyboard without bringing the program forward resigns.
        if (QGuiApplication::focusWindow() != nullptr) windowsystem::activated(nullptr);
        return;
    }
    // The program's own activations come back here as well: only news count.
    if (now == standing_) return;
    standing_ = now;
    QWidget* key = now.keyWindow ? widget(*now.keyWindow) : nullptr;
    if (key == nullptr || !key->isVisible() || !canActivate(*key)) return;
    QWindow* handle = key->windowHandle();
    if (handle != nullptr && QGuiApplication::focusWindow() != handle) windowsystem::activated(handle);
}

void QtOwnWindowReporter::pointerLeft() {
    if (!pointerWindow_) return;
    windowsystem::leave(*pointerWindow_);
    pointerWindow_ = nullptr;
}

void QtOwnWindowReporter::forget(const QObject* window) {
    reported_.erase(window);
    std::erase_if(pending_, [window](const QPointer<QWidget>& waiting) { return waiting == window; });
}

void QtOwnWindowReporter::changedByHost(std::uint32_t number) {
    QWidget* window = widget(number);
    if (window == nullptr) return;
    std::optional<workspace::OwnWindowPlace> place;
    if (!attempt([&] { place = host_.place(number); }) || !place) return;
    auto& shown = reported_.at(window).shown;
    const bool moved = place->frame != shown.frame;
    const bool minimised = place->minimised != shown.minimised;
    // The program's own report coming back: nothing to apply.
    if (!moved && !minimised) return;
    // The list holds the user's frame now; what the window makes of it is reported against it.
    shown.frame = place->frame;
    shown.minimised = place->minimised;
    // setGeometry() keeps the window's own minimum and maximum size.
    if (moved) window->setGeometry(wholePixels(place->frame));
    if (minimised) {
        const auto state = window->windowState();
        window->setWindowState(place->minimised ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
    }
    schedule(window);
}

QWindow* QtOwnWindowReporter::pointerWindow(QWidget& under, QPointF global) {
    QWindow* target = buttons_ != Qt::NoButton && pointerWindow_ ? pointerWindow_.data() : under.windowHandle();
    if (target == nullptr || target == pointerWindow_) return target;
    if (pointerWindow_) windowsystem::leave(*pointerWindow_);
    pointerWindow_ = target;
    windowsystem::enter(*target, inWindow(*target, global), global);
    return pointerWindow_;
}

void QtOwnWindowReporter::deliver(const workspace::OwnWindowClick& click) {
    QWidget* window = widget(click.window);
    if (window == nullptr) return;
    const QPointF global = globalPoint(click.location);
    QWindow* target = pointerWindow(*window, global);
    if (target == nullptr) return;
    buttons_ = click.down ? Qt::MouseButtons(Qt::LeftButton) : buttons_ & ~Qt::LeftButton;
    // Qt's event carries none of the host's values: whoever logs the press asks for them.
    auto outer = std::exchange(delivering_, click);
    windowsystem::mouse(*target, windowsystem::MouseInput{timestampOf(click.timestamp), inWindow(*target, global),
                                                          global, buttons_, Qt::LeftButton,
                                                          click.down ? QEvent::MouseButtonPress
                                                                     : QEvent::MouseButtonRelease,
                                                          QGuiApplication::keyboardModifiers()});
    delivering_ = std::move(outer);
}

std::optional<workspace::OwnWindowClick> QtOwnWindowReporter::clickBeingDelivered(const QMouseEvent& event) const {
    if (!delivering_) return std::nullopt;
    const bool press = event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick;
    if (!press && event.type() != QEvent::MouseButtonRelease) return std::nullopt;
    const QPointF at = event.globalPosition();
    if (press != delivering_->down || at != QPointF(delivering_->location.x, delivering_->location.y)) {
        return std::nullopt;
    }
    return delivering_;
}

void QtOwnWindowReporter::deliverEvent(const events::Event& event, std::uint32_t window) {
    using events::EventType;
    if (events::isKeyboardType(event.type)) return deliverKey(event);
    QWidget* shown = widget(window);
    if (shown == nullptr) return;
    if (event.type == EventType::scrollWheel) return deliverWheel(event, *shown);
    // The left button's presses and releases come as clicks, with the host's own values.
    if (event.type == EventType::leftMouseDown || event.type == EventType::leftMouseUp) return;
    if (events::isMouseType(event.type)) deliverPointer(event, *shown);
}

// To the focused window, as a platform sends keys: shortcuts first, then the window's
// event filters (local monitors), then its focused widget.
void QtOwnWindowReporter::deliverKey(const events::Event& event) {
    using events::EventType;
    QWindow* target = QGuiApplication::focusWindow();
    if (target == nullptr && QApplication::activeWindow() != nullptr) {
        target = QApplication::activeWindow()->windowHandle();
    }
    const auto* key = KeyboardLayout::key(event.keyCode());
    if (target == nullptr || key == nullptr) return;
    const bool shifted = (event.flags & modifier::shift) != 0;
    const int qtKey = shifted && key->shiftedQtKey != 0 ? key->shiftedQtKey : key->qtKey;
    if (qtKey == 0) return;
    const bool press = event.type == EventType::flagsChanged ? events::isModifierPress(event)
                                                              : event.type == EventType::keyDown;
    const auto text = event.type == EventType::flagsChanged
                          ? QString()
                          : QString::fromUtf8(KeyboardLayout::charactersIgnoringModifiers(event.keyCode(), event.flags));
    windowsystem::key(*target, timestampOf(event.timestamp), press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey,
                      Qt::KeyboardModifiers(KeyboardLayout::qtModifiersFromFlags(event.flags)), text);
}

void QtOwnWindowReporter::deliverPointer(const events::Event& event, QWidget& window) {
    using events::EventType;
    const QPointF global = globalPoint(event.location);
    QWindow* target = pointerWindow(window, global);
    if (target == nullptr) return;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (event.type) {
        case EventType::rightMouseDown:
            type = QEvent::MouseButtonPress;
            button = Qt::RightButton;
            buttons_ |= Qt::RightButton;
            break;
        case EventType::rightMouseUp:
            type = QEvent::MouseButtonRelease;
            button = Qt::RightButton;
            buttons_ &= ~Qt::RightButton;
            break;
        case EventType::leftMouseDragged: buttons_ |= Qt::LeftButton; break;
        case EventType::rightMouseDragged: buttons_ |= Qt::RightButton; break;
        default: buttons_ = Qt::NoButton; break;
    }
    windowsystem::mouse(*target, windowsystem::MouseInput{timestampOf(event.timestamp), inWindow(*target, global),
                                                          global, buttons_, button, type,
                                                          Qt::KeyboardModifiers(
                                                              KeyboardLayout::qtModifiersFromFlags(event.flags))});
}

// A mouse wheel turns in lines (a notch is 120 eighths of a degree); a trackpad gives
// points as well.
void QtOwnWindowReporter::deliverWheel(const events::Event& event, QWidget& window) {
    using events::EventField;
    const QPointF global = globalPoint(event.location);
    QWindow* target = pointerWindow(window, global);
    if (target == nullptr) return;
    QPoint pixels;
    QPoint angle(static_cast<int>(event.field(EventField::scrollDeltaAxis2)) * 120,
                 static_cast<int>(event.field(EventField::scrollDeltaAxis1)) * 120);
    if (event.field(EventField::scrollIsContinuous) != 0) {
        pixels = QPoint(static_cast<int>(event.field(EventField::scrollPointDeltaAxis2)),
                        static_cast<int>(event.field(EventField::scrollPointDeltaAxis1)));
        angle = pixels * 8;
    }
    windowsystem::wheel(*target, windowsystem::WheelInput{timestampOf(event.timestamp), inWindow(*target, global),
                                                          global, pixels, angle,
                                                          Qt::KeyboardModifiers(
                                                              KeyboardLayout::qtModifiersFromFlags(event.flags)),
                                                          phaseOf(event)});
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
