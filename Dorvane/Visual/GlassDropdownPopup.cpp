#include "Dorvane/Visual/GlassDropdownPopup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "Dorvane/QtHostBase/LocalEventMonitor.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Visual/DropdownSelection.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

namespace dorvane {

using Metrics = GlassDropdownMetrics;
using qthost::LocalEventMonitor;

namespace {

GlassDropdownPopup::ScreenAreas& screenAreas() {
    static GlassDropdownPopup::ScreenAreas areas;
    return areas;
}

}  // namespace

void GlassDropdownPopup::setScreenAreas(ScreenAreas areas) { screenAreas() = std::move(areas); }

QRect GlassDropdownPopup::screenArea(const QRect& trigger, const QWidget& triggerWidget) {
    std::vector<QRect> areas;
    if (screenAreas()) areas = screenAreas()();
    if (areas.empty()) {
        const QScreen* screen = triggerWidget.screen() != nullptr ? triggerWidget.screen() : QApplication::primaryScreen();
        return screen != nullptr ? screen->availableGeometry() : QRect();
    }
    const QRect* best = &areas.front();
    long bestOverlap = -1;
    for (const auto& area : areas) {
        if (area.contains(trigger.center())) return area;
        const QRect shared = area.intersected(trigger);
        const long overlap = shared.isEmpty() ? 0 : static_cast<long>(shared.width()) * shared.height();
        if (overlap > bestOverlap) {
            best = &area;
            bestOverlap = overlap;
        }
    }
    return *best;
}

GlassDropdownPopup::GlassDropdownPopup(Handlers handlers) : handlers_(std::move(handlers)) {}

GlassDropdownPopup::~GlassDropdownPopup() { close(); }

bool GlassDropdownPopup::open(QWidget* trigger, const QString& label, QSizeF requestedSize, DropdownMenuModel model) {
    close();
    if (trigger == nullptr || model.rows.empty()) return false;
    QWidget* window = trigger->window();
    if (window == nullptr || !window->isVisible() || !trigger->isVisible()) return false;
    triggerFrame_ = QRect(trigger->mapToGlobal(QPoint(0, 0)), trigger->size());
    const std::optional<QRect> given = screenBounds_ ? screenBounds_(triggerFrame_) : std::nullopt;
    const QRect area = given ? *given : screenArea(triggerFrame_, *trigger);
    if (area.isEmpty()) return false;
    const ScreenSpace space = qthost::qtScreenSpace();
    const geometry::Rect frame = DropdownPlacement::menuFrame(
        qthost::toolkitFrame(triggerFrame_, space), geometry::Size{requestedSize.width(), requestedSize.height()},
        Metrics::gap, qthost::toolkitFrame(area, space));

    panel_ = new GlassPanel(label, GlassPanel::popUpMenuLevel, GlassPanel::Input::clickable, window);
    QPointer<GlassDropdownPopup> self(this);
    menu_ = new DropdownMenuView(
        [self](int row) {
            if (!self || !self->handlers_.select) return;
            const auto select = self->handlers_.select;
            select(row);
        },
        [self](int row) {
            if (!self || !self->handlers_.hover) return;
            const auto hover = self->handlers_.hover;
            hover(row);
        });
    menu_->setModel(std::move(model));
    panel_->setGlass(new NativeGlassView(menu_, Metrics::cornerRadius, false, DesignTokens::NS::glassBackdrop));
    panel_->setShadow(DesignTokens::panelShadow);
    panel_->setGlassFrame(qthost::pixelFrame(qthost::qtFrame(frame, space)));
    panel_->present();
    installMonitors(window);
    return true;
}

void GlassDropdownPopup::render(DropdownMenuModel model) {
    if (menu_) menu_->setModel(std::move(model));
}

void GlassDropdownPopup::close() {
    monitors_.clear();
    if (observedWindow_) observedWindow_->removeEventFilter(this);
    observedWindow_ = nullptr;
    if (panel_) {
        panel_->hide();
        // Later: the list may be handling the very click that closes it.
        panel_->deleteLater();
    }
    panel_ = nullptr;
    menu_ = nullptr;
}

void GlassDropdownPopup::installMonitors(QWidget* parentWindow) {
    QPointer<GlassDropdownPopup> self(this);
    auto& local = LocalEventMonitor::shared();
    monitors_.push_back(local.add(LocalEventMonitor::keyDown, [self](QEvent& event, QWindow&) {
        if (!self || !self->handlers_.key) return false;
        const auto& key = static_cast<const QKeyEvent&>(event);
        const KeyboardKey* pressed =
            KeyboardLayout::keyForQtKey(key.key(), key.modifiers().testFlag(Qt::KeypadModifier));
        if (pressed == nullptr) return false;
        const auto handler = self->handlers_.key;
        return handler(pressed->code);
    }));
    monitors_.push_back(local.add(LocalEventMonitor::leftMouseDown | LocalEventMonitor::rightMouseDown,
                                  [self](QEvent& event, QWindow& window) {
                                      if (!self) return false;
                                      const QPointF position = static_cast<const QMouseEvent&>(event).globalPosition();
                                      if (self->isInsideList(window, position)) return false;
                                      // The click that closes the list must not reopen it
                                      // through the trigger; anywhere else it goes on.
                                      const bool onTrigger = self->triggerFrame_.contains(position.toPoint());
                                      self->dismiss();
                                      return onTrigger;
                                  }));
    if (GlobalPointerMonitor* global = GlobalPointerMonitor::shared()) {
        monitors_.push_back(global->observe([self](const GlobalPointerEvent& event) {
            if (event.kind != GlobalPointerEvent::Kind::leftMouseDown &&
                event.kind != GlobalPointerEvent::Kind::rightMouseDown) {
                return;
            }
            // Queued: the host is still handing the event round its monitors.
            if (self) QMetaObject::invokeMethod(self.data(), [self] {
                if (self) self->dismiss();
            }, Qt::QueuedConnection);
        }));
    }
    observedWindow_ = parentWindow;
    parentWindow->installEventFilter(this);
}

bool GlassDropdownPopup::isInsideList(const QWindow& window, QPointF globalPosition) const {
    if (!panel_ || panel_->windowHandle() != &window) return false;
    return panel_->glassFrame().contains(globalPosition.toPoint());
}

bool GlassDropdownPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == observedWindow_) {
        switch (event->type()) {
            case QEvent::WindowDeactivate:
                // Only where a platform activates the list itself; it hands the focus back.
                if (panel_ && panel_->isPartOfPanel(QApplication::activeWindow())) break;
                dismiss();
                break;
            case QEvent::Move:
            case QEvent::Hide:
            case QEvent::Close: dismiss(); break;
            default: break;
        }
    }
    return false;
}

void GlassDropdownPopup::dismiss() {
    if (!handlers_.dismiss) return close();
    const auto dismiss = handlers_.dismiss;
    dismiss();
}

}  // namespace dorvane
