#pragma once

#include <functional>

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "Dorvane/Visual/VisualAppearance.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane::testing {

// Delivers what is queued (paints, deferred deletions, queued calls) without waiting.
inline void settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// Input as the platform delivers it: through the window, so the application's event
// filter sees it where it enters, then the widget under the point.
inline QPoint centreOf(const QWidget& widget) { return widget.mapTo(widget.window(), widget.rect().center()); }

inline void clickAt(QWidget& window, QPoint position, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(window.windowHandle(), button, {}, position);
    settle();
}

inline void click(QWidget& widget) { clickAt(*widget.window(), centreOf(widget)); }

inline void key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
}

// A shown window at a known place, active, as a person would have it.
inline void showActive(QWidget& window, QRect geometry) {
    window.setGeometry(geometry);
    window.show();
    window.activateWindow();
    (void)QTest::qWaitForWindowExposed(&window);
    QCoreApplication::processEvents();
}

// Light, motion allowed, for every test that does not say otherwise.
struct LightAppearance {
    LightAppearance() {
        qtApplication();
        VisualAppearance::shared().set(false, false);
    }
    ~LightAppearance() { VisualAppearance::shared().set(false, false); }
};

inline int alphaAt(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)); }

}  // namespace dorvane::testing
