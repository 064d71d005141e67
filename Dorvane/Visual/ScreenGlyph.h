#pragma once

#include <QColor>
#include <QSizeF>
#include <QWidget>

#include "DorvaneCore/Core/Dimensions.h"

namespace dorvane {

// The outline of a screen of given dimensions, as the settings views draw it: the
// shape keeps its aspect ratio, fits `maximumWidth` × `maximumHeight` (never below 12
// points a side) and sits centred in a frame 2 points larger than that box. Selected
// outlines take the accent colour. Hidden from accessibility.
class ScreenGlyph final : public QWidget {
public:
    struct Values {
        Dimensions dimensions;
        bool selected = false;
        double maximumWidth = 0;
        double maximumHeight = 0;
        double strokeOpacity = 0;
    };

    ScreenGlyph(Values values, QColor accent, QWidget* parent = nullptr);

    // The drawn rectangle's size for these values.
    static QSizeF drawnSize(const Values& values);

    QSize sizeHint() const override;
    const Values& values() const { return values_; }
    // Draws other values; a reused row's outline follows its model this way.
    void setValues(const Values& values);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Values values_;
    QColor accent_;
};

}  // namespace dorvane
