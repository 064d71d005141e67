#pragma once

#include <QColor>
#include <QWidget>

#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane::screenshots {

// The desktop the surfaces are shown over: a soft wallpaper, the menu bar and two
// windows of other applications, drawn on a window that stays below everything.
class Desktop final : public QWidget {
public:
    Desktop();
    // A patch of one flat colour in the top-left corner, to tell composited translucency
    // from a window that came out opaque.
    static QRect probePatch() { return QRect(0, 0, 48, 30); }
    static QColor probeColor() { return QColor(40, 60, 120); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A translucent window over the probe patch: half-white once a compositing manager
// blends it, black or grey without one.
class CompositingProbe final : public QWidget {
public:
    CompositingProbe();
    // What the probe patch must look like through the window.
    static QColor expected();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A settings window's look behind the dropdown: page background, a card with a switch
// row and the dropdown row under it.
class SettingsCard final : public QWidget {
public:
    explicit SettingsCard(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The toolbar strip's content: its action symbols down the middle, the one whose panel
// is open lit.
class ToolbarSymbols final : public QWidget {
public:
    explicit ToolbarSymbols(FloatingAction active = FloatingAction::resolution, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FloatingAction active_;
};

}  // namespace dorvane::screenshots
