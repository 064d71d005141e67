#pragma once

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// A rounded rectangle of radius 10 in one colour behind whatever is laid out in it: the
// cards, banners and search fields of the settings pages and sheets.
class RoundedFill final : public QWidget {
public:
    RoundedFill(const AdaptiveColor& fill, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AdaptiveColor fill_;
};

}  // namespace dorvane
