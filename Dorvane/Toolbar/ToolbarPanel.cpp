#include "Dorvane/Toolbar/ToolbarPanel.h"

#include <QLayout>

#include "Dorvane/QtHostBase/QtScreenGeometry.h"

namespace dorvane {

ToolbarPanel::ToolbarPanel(const QString& title, std::function<ScreenSpace()> screenSpace)
    : GlassPanel(title, floatingLevel, Input::clickable), screenSpace_(std::move(screenSpace)) {}

ToolbarPanel::~ToolbarPanel() = default;

void ToolbarPanel::setContentView(QWidget* view) {
    if (content_ == view) return;
    if (content_) {
        QWidget* previous = content_;
        layout()->removeWidget(previous);
        previous->hide();
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    content_ = view;
    if (view == nullptr) return;
    layout()->addWidget(view);
    // At once, not on the next turn of the loop: the content takes input and fills the
    // panel as soon as it is in.
    view->show();
    layout()->activate();
}

void ToolbarPanel::setFrame(const geometry::Rect& frame) {
    frame_ = frame;
    setGeometry(qthost::pixelFrame(qtFrame()));
}

QRectF ToolbarPanel::qtFrame() const { return qthost::qtFrame(frame_, space()); }

}  // namespace dorvane
