#include "Dorvane/QtHost/QtSettingsWindows.h"

#include <cmath>
#include <exception>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/FilledHost.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/System/UserDefaults.h"

namespace dorvane::qthost {

namespace {

QRect qtRect(const geometry::Rect& frame) {
    return QRect(static_cast<int>(std::lround(frame.x)), static_cast<int>(std::lround(frame.y)),
                 static_cast<int>(std::lround(frame.width)), static_cast<int>(std::lround(frame.height)));
}

// One child filling the window, replaced whole when the content is rebuilt.
QWidget* replaceContent(QWidget& window, std::unique_ptr<QWidget> content, QWidget* previous) {
    auto* layout = static_cast<QVBoxLayout*>(window.layout());
    if (previous) {
        layout->removeWidget(previous);
        delete previous;
    }
    QWidget* shown = content.release();
    layout->addWidget(shown);
    // In a shown window, at once and not on the next turn of the loop, as a layout would: a
    // key already on its way (Escape just after the panel opened) must meet the content that
    // answers it, not a window that holds the keyboard with nothing shown in it.
    if (window.isVisible()) {
        shown->show();
        layout->activate();
    }
    return shown;
}

void giveLayout(QWidget& window) {
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

}  // namespace

// Closing only hides the window, which is kept for the next showing; its position is
// remembered then, and while it moves.
class QtSettingsWindows::SettingsWindow final : public QWidget {
public:
    explicit SettingsWindow(QtSettingsWindows& owner)
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          owner_(owner) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        hide();
    }
    void hideEvent(QHideEvent* event) override {
        owner_.saveSettingsFrame();
        QWidget::hideEvent(event);
    }
    void moveEvent(QMoveEvent* event) override {
        owner_.settingsMoved();
        QWidget::moveEvent(event);
    }

private:
    QtSettingsWindows& owner_;
};

QtSettingsWindows::QtSettingsWindows(std::unique_ptr<SettingsViewFactory> views, system::UserDefaults* defaults,
                                     displays::ScreenServices* screens, dispatch::Executor* timers,
                                     Activation activate)
    : views_(std::move(views)), defaults_(defaults), screens_(screens), timers_(timers),
      activate_(std::move(activate)) {}

std::unique_ptr<QtSettingsWindows> QtSettingsWindows::overHost(std::unique_ptr<SettingsViewFactory> views,
                                                               host::SimulatedHost& host,
                                                               dispatch::Executor& mainQueue,
                                                               QtOwnWindowReporter& reporter) {
    return std::make_unique<QtSettingsWindows>(std::move(views), &host.userDefaults(), &host.screens(), &mainQueue,
                                               [&reporter](QWidget& window) { reporter.activate(window); });
}

QtSettingsWindows::~QtSettingsWindows() {
    // The program quits with the window open, or just after a move: its place is kept.
    if (settings_ && (settings_->isVisible() || frameSave_.isActive())) saveSettingsFrame();
    frameSave_.cancel();
    // The windows go before the views' factory that made their content.
    resolution_.reset();
    settings_.reset();
}

void QtSettingsWindows::showSettings(ControlPanelModel& model, bool createNew, std::optional<SettingsPage> page) {
    const bool isNew = !settings_;
    if (isNew) {
        settings_ = std::make_unique<SettingsWindow>(*this);
        giveLayout(*settings_);
    }
    // Otherwise the open page and whatever the user has not saved yet stay as they are.
    if (isNew || createNew || page) {
        const SettingsPage first = createNew || !page ? SettingsPage::resolution : *page;
        settingsContent_ = replaceContent(*settings_, views_->makeSettingsView(model, createNew, first), settingsContent_);
    }
    settings_->setWindowTitle(QStringLiteral("设置"));
    settings_->setFixedSize(settingsWidth, settingsHeight);
    if (isNew) placeNewSettings();
    // Shown means key, in front and with the program in front: a window left minimised
    // comes back first.
    settings_->setWindowState(settings_->windowState() & ~Qt::WindowMinimized);
    settings_->show();
    settings_->raise();
    makeKey(*settings_);
}

QWidget* QtSettingsWindows::settingsWindow() const { return settings_.get(); }

void QtSettingsWindows::makeKey(QWidget& window) {
    if (activate_) {
        activate_(window);
    } else {
        window.activateWindow();
    }
}

// Where the window was last left, else centred on the host's main display: Qt's own
// screens need not be the host's.
void QtSettingsWindows::placeNewSettings() {
    if (defaults_) {
        if (const auto saved = defaults_->value(frameDefaultsKey); saved && saved->is_object()) {
            const auto x = saved->find("x");
            const auto y = saved->find("y");
            if (x != saved->end() && y != saved->end() && x->is_number() && y->is_number()) {
                settings_->move(static_cast<int>(x->get<double>()), static_cast<int>(y->get<double>()));
                return;
            }
        }
    }
    QRectF area;
    if (screens_) {
        // The main display comes first; its visible frame leaves out the menu bar.
        if (const auto shown = screens_->screens(); !shown.empty()) {
            const auto& visible = shown.front().visibleFrame;
            area = QRectF(visible.x, visible.y, visible.width, visible.height);
        }
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isEmpty()) return;
    QRectF frame(QPointF(0, 0), QSizeF(settingsWidth, settingsHeight));
    frame.moveCenter(area.center());
    settings_->move(QPoint(static_cast<int>(std::lround(frame.x())), static_cast<int>(std::lround(frame.y()))));
}

// A drag moves the window many times: only where it comes to rest is written.
void QtSettingsWindows::settingsMoved() {
    if (!defaults_ || !timers_) return;
    frameSave_ = dispatch::Timer::once(*timers_, frameSaveDelay, [this] { saveSettingsFrame(); });
}

void QtSettingsWindows::saveSettingsFrame() {
    frameSave_.cancel();
    if (!defaults_ || !settings_) return;
    json::Json frame = json::Json::object();
    frame["x"] = settings_->x();
    frame["y"] = settings_->y();
    frame["width"] = settingsWidth;
    frame["height"] = settingsHeight;
    try {
        defaults_->setValue(frameDefaultsKey, frame);
    } catch (const std::exception&) {
        // Not storable: the window opens centred next time, nothing worse. A host that only
        // put the write off makes it once it can.
    }
}

void QtSettingsWindows::orderSettingsOut() {
    if (settings_) settings_->hide();
}

// The content on a glass of radius 14, square where it meets the toolbar.
void QtSettingsWindows::setResolutionContent(ControlPanelModel& model, const shell::ResolutionContent& content,
                                             ToolbarSide side) {
    QWidget* view = views_->makeResolutionPanelView(model, content).release();
    auto* glass = static_cast<NativeGlassView*>(filledHost(view, clearFill(), DesignTokens::radiusLg));
    glass->attach(side, false);
    resolutionGlass_ = replaceContent(*resolution_, std::unique_ptr<QWidget>(glass), resolutionGlass_);
    resolutionContent_ = view;
}

std::optional<double> QtSettingsWindows::prepareResolution(ControlPanelModel& model, shell::ResolutionContent content,
                                                          geometry::Rect frame, ToolbarSide side) {
    if (!resolution_) {
        // Floating above other windows, without a shadow: the glass draws its own edge.
        resolution_ = std::make_unique<OverlayFloatingPanel>(nullptr,
                                                             Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint);
        resolution_->setAttribute(Qt::WA_TranslucentBackground);
        // Key without making the program the frontmost application, as a non-activating panel.
        resolution_->setAttribute(Qt::WA_ShowWithoutActivating);
        resolution_->setWindowTitle(QStringLiteral("Corvelle 分辨率"));
        giveLayout(*resolution_);
    }
    // New content on every showing, measured at the panel's width before the panel shows.
    setResolutionContent(model, content, side);
    setResolutionFrame(frame);
    return views_->resolutionPanelHeight(*resolutionContent_, resolution_->width());
}

void QtSettingsWindows::showResolution(geometry::Rect frame, ToolbarSide side, bool hidden) {
    if (!resolution_) return;
    resolution_->setWindowOpacity(hidden ? 0.0 : 1.0);
    setResolutionFrame(frame);
    resolution_->show();
    resolution_->raise();
    // Key at once, so that the keys typed next reach it.
    makeKey(*resolution_);
    static_cast<NativeGlassView*>(resolutionGlass_)->reveal(side);
}

bool QtSettingsWindows::resolutionPanelVisible() const { return resolution_ && resolution_->isVisible(); }

std::optional<geometry::Rect> QtSettingsWindows::resolutionPanelFrame() const {
    if (!resolution_) return std::nullopt;
    return resolutionFrame_;
}

void QtSettingsWindows::setResolutionFrame(geometry::Rect frame) {
    if (!resolution_) return;
    resolutionFrame_ = frame;
    resolution_->setGeometry(qtRect(frame));
    resolution_->update();
}

void QtSettingsWindows::replaceResolutionContent(ControlPanelModel& model, shell::ResolutionContent content,
                                                 ToolbarSide side) {
    if (!resolution_) return;
    setResolutionContent(model, content, side);
    resolution_->update();
}

void QtSettingsWindows::revealResolution() {
    if (resolution_) resolution_->setWindowOpacity(1.0);
}

void QtSettingsWindows::orderResolutionOut() {
    if (resolution_) resolution_->hide();
}

}  // namespace dorvane::qthost
