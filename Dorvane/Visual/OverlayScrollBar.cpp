#include "Dorvane/Visual/OverlayScrollBar.h"

#include <cmath>

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

OverlayScrollBar* OverlayScrollBar::install(QAbstractScrollArea* area) {
    if (area == nullptr) return nullptr;
    return new OverlayScrollBar(area);
}

OverlayScrollBar* OverlayScrollBar::of(const QAbstractScrollArea* area) {
    if (area == nullptr) return nullptr;
    for (QObject* child : area->children()) {
        if (auto* bar = dynamic_cast<OverlayScrollBar*>(child)) return bar;
    }
    return nullptr;
}

OverlayScrollBar::OverlayScrollBar(QAbstractScrollArea* area)
    : QWidget(area), area_(area), viewport_(area->viewport()) {
    setAccessibleName(QStringLiteral("滚动条"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* bar = area->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this] { reveal(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
        place();
        update();
    });
    linger_.setSingleShot(true);
    linger_.setInterval(static_cast<int>(DesignTokens::scrollBarLinger * 1000));
    connect(&linger_, &QTimer::timeout, this, [this] {
        if (hovering_ || dragOffset_ >= 0) return;
        showing_ = false;
        update();
    });
    area->installEventFilter(this);
    area->viewport()->installEventFilter(this);
    DesignTokens::repaintOnAppearanceChange(this);
    place();
}

bool OverlayScrollBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() || watched == viewport_) {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::LayoutRequest: place(); break;
            case QEvent::ChildAdded: raise(); break;
            default: break;
        }
    }
    return false;
}

double OverlayScrollBar::trackLength() const { return height() - 2 * DesignTokens::scrollBarInset; }

ScrollThumb OverlayScrollBar::thumb() const {
    if (!area_) return {};
    const QScrollBar* bar = area_->verticalScrollBar();
    return ScrollThumb::of(trackLength(), bar->minimum(), bar->maximum(), bar->pageStep(), bar->value());
}

// Along the viewport's trailing edge, and only while something can be scrolled.
void OverlayScrollBar::place() {
    if (!area_) return;
    const QRect viewport = area_->viewport()->geometry();
    const int width = static_cast<int>(DesignTokens::scrollBarWidth);
    setGeometry(viewport.right() + 1 - width, viewport.top(), width, viewport.height());
    const QScrollBar* bar = area_->verticalScrollBar();
    setVisible(bar->maximum() > bar->minimum());
    raise();
}

void OverlayScrollBar::reveal() {
    showing_ = true;
    update();
    linger_.start();
}

void OverlayScrollBar::enterEvent(QEnterEvent* event) {
    hovering_ = true;
    showing_ = true;
    update();
    QWidget::enterEvent(event);
}

void OverlayScrollBar::leaveEvent(QEvent* event) {
    hovering_ = false;
    update();
    linger_.start();
    QWidget::leaveEvent(event);
}

void OverlayScrollBar::mousePressEvent(QMouseEvent* event) {
    if (!area_ || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    event->accept();
    const ScrollThumb current = thumb();
    const double along = event->position().y() - DesignTokens::scrollBarInset;
    QScrollBar* bar = area_->verticalScrollBar();
    if (along >= current.offset && along <= current.offset + current.length) {
        dragOffset_ = along - current.offset;
    } else {
        bar->setValue(bar->value() + (along < current.offset ? -bar->pageStep() : bar->pageStep()));
    }
    reveal();
}

void OverlayScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!area_ || dragOffset_ < 0) return QWidget::mouseMoveEvent(event);
    event->accept();
    QScrollBar* bar = area_->verticalScrollBar();
    const double offset = event->position().y() - DesignTokens::scrollBarInset - dragOffset_;
    bar->setValue(ScrollThumb::valueAt(offset, trackLength(), bar->minimum(), bar->maximum(), bar->pageStep()));
}

void OverlayScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (dragOffset_ < 0) return QWidget::mouseReleaseEvent(event);
    event->accept();
    dragOffset_ = -1;
    linger_.start();
}

void OverlayScrollBar::paintEvent(QPaintEvent* /*event*/) {
    if (!showing_ && !hovering_) return;
    const ScrollThumb shown = thumb();
    if (shown.length <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool wide = hovering_ || dragOffset_ >= 0;
    const double thickness = wide ? DesignTokens::scrollThumbHoverWidth : DesignTokens::scrollThumbWidth;
    const double inset = DesignTokens::scrollBarInset;
    if (wide) {
        QPainterPath track;
        track.addRoundedRect(QRectF(width() - inset - thickness, inset, thickness, trackLength()), thickness / 2,
                             thickness / 2);
        painter.fillPath(track, DesignTokens::Colors::secondaryFill.resolved());
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(width() - inset - thickness, inset + shown.offset, thickness, shown.length),
                        thickness / 2, thickness / 2);
    painter.fillPath(path, DesignTokens::Colors::scrollThumb.resolved());
}

}  // namespace dorvane
