#pragma once

#include <QWidget>

namespace dorvane {

// The panel of the floating overlays beside the toolbar (resolution panel, dropdowns,
// launcher): a frameless tool window that may take the keyboard focus. Style, level and
// behaviour are chosen by whoever creates it.
class OverlayFloatingPanel : public QWidget {
public:
    explicit OverlayFloatingPanel(QWidget* parent = nullptr, Qt::WindowFlags extraFlags = {});

    static constexpr Qt::WindowFlags baseFlags = Qt::Tool | Qt::FramelessWindowHint;
};

}  // namespace dorvane
