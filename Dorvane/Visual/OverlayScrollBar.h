#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "DorvaneCore/Visual/ScrollThumb.h"

class QAbstractScrollArea;

namespace dorvane {

// The program's scroll bar: a thin rounded thumb without arrows, laid over the trailing edge
// of a scroll area's content instead of taking room beside it. It shows while the content
// scrolls and while the pointer is over its strip, and goes again a moment later; while
// nothing can be scrolled it is not there at all, so it takes no click from the content. The
// thumb can be dragged, and a press on the strip pages towards it. The area's own vertical
// bar stays hidden but still carries the value, the wheel and the keys, so the thumb always
// follows what the content shows.
class OverlayScrollBar final : public QWidget {
public:
    static OverlayScrollBar* install(QAbstractScrollArea* area);
    // The bar installed on `area`, if any.
    static OverlayScrollBar* of(const QAbstractScrollArea* area);

    // The thumb can be seen now.
    bool isShowing() const { return showing_; }
    // Where the thumb lies along the strip (nothing while nothing can be scrolled).
    ScrollThumb thumb() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    explicit OverlayScrollBar(QAbstractScrollArea* area);
    void place();
    void reveal();
    double trackLength() const;

    QPointer<QAbstractScrollArea> area_;
    // Compared by address only: its events may come while the scroll area is being taken apart.
    const QObject* viewport_;
    QTimer linger_;
    bool showing_ = false;
    bool hovering_ = false;
    double dragOffset_ = -1;  // where in the thumb a drag holds it; negative while not dragging
};

}  // namespace dorvane
