#include "Dorvane/Visual/OverlayFloatingPanel.h"

namespace dorvane {

OverlayFloatingPanel::OverlayFloatingPanel(QWidget* parent, Qt::WindowFlags extraFlags)
    // Never Qt::WindowDoesNotAcceptFocus: a search field in the panel must take typing.
    : QWidget(parent, baseFlags | (extraFlags & ~Qt::WindowDoesNotAcceptFocus)) {
    setFocusPolicy(Qt::StrongFocus);
}

}  // namespace dorvane
