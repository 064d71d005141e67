#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "Dorvane/Visual/NativeGlassView.h"

namespace dorvane {

// A floating panel whose whole content is one glass surface: a frameless, translucent
// tool window that stays on top and never takes the keyboard focus or activates the
// program. Shown with present(), never activated.
class GlassPanel : public QWidget {
public:
    enum class Input {
        passesThrough,  // the pointer acts on whatever lies under it (a notice)
        clickable,      // the panel receives clicks (a dropdown list)
    };

    // The window level the host's window list shows for the panel (the own-window reporter
    // reads it from the window's level property).
    static constexpr int statusLevel = 25;
    static constexpr int popUpMenuLevel = 101;

    // With a `transientParent` the panel belongs to that widget's window and goes with it.
    GlassPanel(const QString& title, int level, Input input, QWidget* transientParent = nullptr);

    // Replaces the glass (the previous one is deleted); none leaves the panel empty.
    void setGlass(NativeGlassView* glass);
    NativeGlassView* glass() const { return glass_; }

    // Puts the glass at `frame` (Qt's global space); the window takes the frame plus the
    // glass's shadow margins.
    void setGlassFrame(const QRect& frame);
    QRect glassFrame() const;

    int level() const;
    static int levelOf(const QWidget& window);

    // show() and raise(). A platform that activates every window it shows (Qt's offscreen
    // one does) finds the activation handed straight back to the window that had it.
    void present();

protected:
    void changeEvent(QEvent* event) override;

private:
    QPointer<NativeGlassView> glass_;
    QPointer<QWidget> returnActivationTo_;
};

}  // namespace dorvane
