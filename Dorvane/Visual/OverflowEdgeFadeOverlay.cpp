#include "Dorvane/Visual/OverflowEdgeFadeOverlay.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

OverflowEdgeFadeOverlay* OverflowEdgeFadeOverlay::install(QScrollArea* scrollArea, const AdaptiveColor& fadeColor) {
    if (scrollArea == nullptr) return nullptr;
    return new OverflowEdgeFadeOverlay(scrollArea, fadeColor);
}

OverflowEdgeFadeOverlay::OverflowEdgeFadeOverlay(QScrollArea* scrollArea, AdaptiveColor fadeColor)
    : QWidget(scrollArea->viewport()), scrollArea_(scrollArea), viewport_(scrollArea->viewport()), fadeColor_(fadeColor) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    QScrollBar* bar = scrollArea->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this] { refresh(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this] { refresh(); });
    viewport_->installEventFilter(this);
    DesignTokens::repaintOnAppearanceChange(this);
    setGeometry(viewport_->rect());
    raise();
    show();
    refresh();
}

bool OverflowEdgeFadeOverlay::eventFilter(QObject* watched, QEvent* event) {
    // The overlay is the viewport's child: while it lives, so does the viewport.
    if (watched == viewport_) {
        if (event->type() == QEvent::Resize) {
            setGeometry(viewport_->rect());
            refresh();
        } else if (event->type() == QEvent::ChildAdded) {
            // Content added later must stay under the fade.
            raise();
        }
    }
    return false;
}

void OverflowEdgeFadeOverlay::refresh() {
    const QScrollBar* bar = scrollArea_->verticalScrollBar();
    const double container = viewport_->height();
    // The content's height is what can be scrolled plus what shows.
    const double content = bar->maximum() - bar->minimum() + container;
    const OverflowEdgeFade next = OverflowEdgeFade::forScroll(bar->value() - bar->minimum(), content, container);
    if (next == fade_) return;
    fade_ = next;
    update();
}

void OverflowEdgeFadeOverlay::paintEvent(QPaintEvent* /*event*/) {
    if (!fade_.fadeTop && !fade_.fadeBottom) return;
    QPainter painter(this);
    const QColor solid = fadeColor_.resolved();
    QColor clear = solid;
    clear.setAlpha(0);
    const double length = OverflowEdgeFade::fadeLength;
    if (fade_.fadeTop) {
        QLinearGradient gradient(0, 0, 0, length);
        gradient.setColorAt(0, solid);
        gradient.setColorAt(1, clear);
        painter.fillRect(QRectF(0, 0, width(), length), gradient);
    }
    if (fade_.fadeBottom) {
        QLinearGradient gradient(0, height() - length, 0, height());
        gradient.setColorAt(0, clear);
        gradient.setColorAt(1, solid);
        painter.fillRect(QRectF(0, height() - length, width(), length), gradient);
    }
}

}  // namespace dorvane
