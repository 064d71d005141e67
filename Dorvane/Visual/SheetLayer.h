#pragma once

#include <vector>

#include <QImage>
#include <QPainterPath>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace dorvane {

// The outline of a surface that hangs from its window's top edge: square along the top,
// rounded below.
QPainterPath sheetShape(const QRectF& rect);
// The face of such a surface: the page background in its outline, with a hairline along its
// sides and bottom that sets it off the dimmed window.
void paintSheetFace(QPainter& painter, const QRectF& bounds, double devicePixelRatio);

// What hangs from the top edge of one widget's area (the owner: a window's content) — its
// sheets and, above them, its alerts — and the dimming under them. Each surface is a child
// of the owner, as large as it asks (never beyond the owner), centred across it, its top on
// the owner's top edge. While one shows, this layer covers the whole owner, dims it, takes
// every press, wheel turn and hover meant for what it covers, and draws the shadow of each
// surface right above it: it lies under the sheets, or, while an alert shows, over the
// sheets and under the alerts, so that an alert dims the sheet it asks about as well.
class SheetLayer final : public QWidget {
    Q_OBJECT

public:
    enum class Level { sheet, alert };

    // The owner's layer, made the first time it is asked for; it lives as long as the owner.
    static SheetLayer& of(QWidget& owner);
    // The owner `widget`'s own surfaces hang from: the nearest widget above it that has a
    // layer (a widget inside a sheet finds the sheet's owner), else its window.
    static QWidget& ownerFor(QWidget& widget);

    // `surface`, a child of the owner, hangs from its top edge from now until it goes; its
    // showing, hiding and going rearrange the layer by themselves.
    void attach(QWidget& surface, Level level);
    // Places every surface (a surface's size follows its size hint) and shows, stacks and
    // shades what shows now.
    void arrange();

    // The surfaces of `level` that show, bottom first.
    std::vector<QWidget*> shown(Level level) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Surface {
        QPointer<QWidget> widget;
        Level level;
    };

    explicit SheetLayer(QWidget& owner);

    struct Shadow {
        QSize size;
        double ratio;
        QImage image;
    };
    const QImage& shadowFor(QSize size, double ratio);

    QWidget& owner_;
    std::vector<Surface> surfaces_;
    // The frames whose shadows it draws, and the shadow images of the sizes drawn lately.
    std::vector<QRect> shaded_;
    std::vector<Shadow> shadows_;
};

}  // namespace dorvane
