#include "Dorvane/Settings/SettingsPageLayout.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/OverlayScrollBar.h"
#include "Dorvane/Visual/SettingsMetrics.h"

namespace dorvane {

QVBoxLayout* settingsPageColumn(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    const int padding = SettingsMetrics::pagePadding;
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(SettingsMetrics::pageSpacing);
    return column;
}

QScrollArea* settingsScrollArea(QWidget* content, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(scrollAreaFocusPolicy);
    area->setWidget(content);
    OverlayScrollBar::install(area);
    // The page background shows through (setWidget() has the content fill itself).
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    return area;
}

}  // namespace dorvane
