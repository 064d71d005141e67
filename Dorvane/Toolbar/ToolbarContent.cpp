#include "Dorvane/Toolbar/ToolbarContent.h"

#include <QGraphicsOpacityEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QWheelEvent>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/PointerHover.h"
#include "DorvaneCore/Toolbar/ToolbarStripLayout.h"

namespace dorvane {

namespace {

QRect qt(const geometry::Rect& rect) { return QRectF(rect.x, rect.y, rect.width, rect.height).toAlignedRect(); }

// The separator between strip and footer: a hairline of the pedestal colour.
class Pedestal final : public QWidget {
public:
    explicit Pedestal(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), DesignTokens::NS::pedestalBorder.resolved());
    }
};

}  // namespace

ToolbarContent::ToolbarContent(const geometry::Size& size, const DesktopToolbarLayout::Grid& grid, ToolbarSide side,
                               const std::optional<Application>& application,
                               std::shared_ptr<const ToolbarButtonEnvironment> environment)
    : environment_(std::move(environment)), grid_(grid), side_(side) {
    setFocusPolicy(Qt::NoFocus);
    auto button = [this](const ToolbarButtonFace& face) { return new ToolbarButton(face, environment_, this); };
    // Added in drawing order: later ones lie on top.
    if (application) {
        applicationButton_ = button(ToolbarButtonFace::application(application->localizedName));
        if (!application->icon.isNull()) applicationButton_->setIcon(application->icon);
    }
    pedestal_ = new Pedestal(this);
    grip_ = button(ToolbarButtonFace::grip());
    clip_ = new QWidget(this);
    document_ = new QWidget(clip_);
    collapse_ = button(ToolbarButtonFace::collapse(side));
    if (grid.windowControls) windowButton_ = button(ToolbarButtonFace::window());
    resolution_ = button(ToolbarButtonFace::resolution());
    settings_ = button(ToolbarButtonFace::settings());
    restore_ = std::make_unique<ToolbarButton>(ToolbarButtonFace::restore(), environment_);
    resize(static_cast<int>(size.width), static_cast<int>(size.height));
    layoutContent();
}

std::vector<ToolbarButton*> ToolbarContent::footerButtons() const {
    std::vector<ToolbarButton*> footer;
    if (applicationButton_ != nullptr) footer.push_back(applicationButton_);
    if (windowButton_ != nullptr) footer.push_back(windowButton_);
    for (auto* button : {resolution_, settings_, collapse_}) footer.push_back(button);
    return footer;
}

void ToolbarContent::addStripButton(ToolbarButton* button) {
    button->setParent(document_);
    button->show();
    buttons_.push_back(button);
}

ToolbarStripScroll ToolbarContent::scroll() const {
    const bool horizontal = isHorizontal(side_);
    return ToolbarStripScroll{static_cast<int>(buttons_.size()),
                              static_cast<double>(horizontal ? clip_->width() : clip_->height()), horizontal};
}

void ToolbarContent::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutContent();
}

void ToolbarContent::layoutContent() {
    const auto layout = ToolbarStripLayout::make(
        geometry::Size{static_cast<double>(width()), static_cast<double>(height())}, side_,
        applicationButton_ != nullptr, windowButton_ != nullptr, static_cast<int>(buttons_.size()));
    if (layout.grip) grip_->setGeometry(qt(*layout.grip));
    pedestal_->setGeometry(qt(layout.pedestal));
    const auto footer = footerButtons();
    for (std::size_t i = 0; i < footer.size() && i < layout.footer.size(); ++i) footer[i]->setGeometry(qt(layout.footer[i]));
    clip_->setGeometry(qt(layout.clip));
    document_->resize(qt(layout.documentFrame(offset_)).size());
    for (std::size_t i = 0; i < buttons_.size() && i < layout.strip.size(); ++i) {
        buttons_[i]->setGeometry(qt(layout.strip[i]));
    }
    setOffset(offset_, false);
}

void ToolbarContent::setOffset(double offset, bool /*animated*/) {
    const double next = scroll().clamped(offset);
    // A button that scrolls away from under the pointer loses its hover look.
    if (ToolbarStripScroll::losesHover(offset_, next)) PointerHover::shared().reset();
    offset_ = next;
    const QPoint origin = isHorizontal(side_) ? QPoint(static_cast<int>(std::lround(-offset_)), 0)
                                              : QPoint(0, static_cast<int>(std::lround(-offset_)));
    document_->move(origin);
    updateArrows();
    if (onOffsetChange) onOffsetChange(offset_);
}

void ToolbarContent::updateArrows() {
    fade_ = scroll().fade(offset_);
    if (!fade_) {
        // Without a mask the strip draws straight, with nothing rendered off to the side.
        if (fadeEffect_ != nullptr) clip_->setGraphicsEffect(nullptr);
        fadeEffect_ = nullptr;
        return;
    }
    if (fadeEffect_ == nullptr) {
        fadeEffect_ = new QGraphicsOpacityEffect(clip_);
        fadeEffect_->setOpacity(1);
        clip_->setGraphicsEffect(fadeEffect_);
    }
    // The gradient runs from the strip's start (what offset 0 shows) to its end.
    const bool horizontal = isHorizontal(side_);
    QLinearGradient gradient(QPointF(0, 0), horizontal ? QPointF(clip_->width(), 0) : QPointF(0, clip_->height()));
    gradient.setColorAt(0, fade_->start ? Qt::transparent : Qt::black);
    gradient.setColorAt(fade_->fraction, Qt::black);
    gradient.setColorAt(1 - fade_->fraction, Qt::black);
    gradient.setColorAt(1, fade_->end ? Qt::transparent : Qt::black);
    fadeEffect_->setOpacityMask(QBrush(gradient));
}

void ToolbarContent::wheelEvent(QWheelEvent* event) {
    ToolbarWheelDelta delta;
    if (!event->pixelDelta().isNull()) {
        delta = ToolbarWheelDelta{double(event->pixelDelta().x()), double(event->pixelDelta().y()), true};
    } else {
        delta = ToolbarWheelDelta{event->angleDelta().x() / 120.0, event->angleDelta().y() / 120.0, false};
    }
    const auto next = scroll().wheel(offset_, delta);
    if (!next) {
        // Nothing to scroll: the wheel goes on to the parent.
        event->ignore();
        return;
    }
    event->accept();
    setOffset(*next, false);
}

}  // namespace dorvane
