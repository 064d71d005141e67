#pragma once

class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace dorvane {

// A page's column: leading-aligned, 20 points between its parts, 24 around them.
QVBoxLayout* settingsPageColumn(QWidget* page);
// A vertical scroll area with its indicators, on the page's background, around `content`.
QScrollArea* settingsScrollArea(QWidget* content, QWidget* parent);

}  // namespace dorvane
