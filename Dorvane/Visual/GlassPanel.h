#pragma once

#include <optional>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/NativeGlassView.h"

namespace dorvane {

// A floating panel whose whole content is one glass surface: a frameless, translucent
// tool window, exactly the glass's frame, that stays on top and never takes the keyboard
// focus or activates the program. Its shadow is a window of its own under it that takes
// no input and is not one of the program's windows, so a click just beside the panel
// reaches what lies there. Shown with present(), never activated.
//
//   auto* panel = new GlassPanel("Corvelle 提示", GlassPanel::statusLevel, GlassPanel::Input::passesThrough);
//   panel->setGlass(new NativeGlassView(content, DesignTokens::radiusLg));
//   panel->setShadow(DesignTokens::panelShadow);
//   panel->setGlassFrame(frame);
//   panel->present();
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
    ~GlassPanel() override;

    // Replaces the glass (the previous one is deleted); none leaves the panel empty.
    void setGlass(NativeGlassView* glass);
    NativeGlassView* glass() const { return glass_; }

    // A soft shadow of the glass's shape under the panel; none removes it. Its image is
    // made once per size, corners and scale, when the panel is shown or placed.
    void setShadow(std::optional<DesignTokens::Shadow> shadow);
    // The shadow's window, none without a shadow.
    QWidget* shadowWindow() const;

    // Puts the panel (and its glass) at `frame`, in Qt's global space.
    void setGlassFrame(const QRect& frame) { setGeometry(frame); }
    QRect glassFrame() const { return geometry(); }

    int level() const;
    static int levelOf(const QWidget& window);

    // Whether `window` is this panel or its shadow.
    bool isPartOfPanel(const QWidget* window) const;

    // show() and raise(), the shadow right under the panel. A platform that activates
    // every window it shows (Qt's offscreen one does) finds the activation handed straight
    // back to the window that had it.
    void present();

protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class Shadow;

    void placeShadow();
    void handBackActivation();

    QPointer<NativeGlassView> glass_;
    QPointer<Shadow> shadow_;
    QPointer<QWidget> returnActivationTo_;
};

}  // namespace dorvane
