#include "Dorvane/Settings/SettingsPageLayout.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Settings/SettingsMetrics.h"

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
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The page background shows through.
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    area->setWidget(content);
    return area;
}

}  // namespace dorvane
