#include "Dorvane/Toolbar/ToolbarButton.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPointer>

#include "Dorvane/QtHost/MouseDetails.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassShapes.h"
#include "Dorvane/Visual/PointerHover.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Toolbar/ToolbarButtonLook.h"
#include "DorvaneCore/Toolbar/ToolbarLog.h"

namespace dorvane {

namespace {

QRectF qt(const geometry::Rect& rect) { return QRectF(rect.x, rect.y, rect.width, rect.height); }

geometry::Size boundsOf(const QWidget& widget) {
    return geometry::Size{static_cast<double>(widget.width()), static_cast<double>(widget.height())};
}

// How often an entering button is redrawn.
constexpr double kEntranceFrame = 0.016;

}  // namespace

ToolbarButton::ToolbarButton(const ToolbarButtonFace& face, std::shared_ptr<const ToolbarButtonEnvironment> environment,
                             QWidget* parent)
    : QWidget(parent),
      environment_(std::move(environment)),
      identifier_(face.identifier),
      symbol_(face.symbol),
      name_(face.name),
      labelled_(face.caption),
      glyphSize_(ToolbarButtonLook::glyphSize(face.largeIcon, face.caption)),
      symbolPointSize_(ToolbarButtonLook::symbolPointSize(face.largeIcon, face.caption)),
      hoverID_("toolbar:" + std::to_string(reinterpret_cast<std::uintptr_t>(this))) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    setToolTip(QString::fromStdString(name_));
    setAccessibleName(QString::fromStdString(name_));
    hover_ = PointerHover::shared().track(this, hoverID_, [this](bool hovered) {
        if (hovering_ == hovered) return;
        hovering_ = hovered;
        QWidget::update();
    });
}

ToolbarButton::~ToolbarButton() {
    entranceTimer_.cancel();
    hover_.cancel();
}

void ToolbarButton::update(const std::string& symbol, const std::string& name) {
    if (name == name_) return;
    symbol_ = symbol;
    name_ = name;
    // The large size is the handle's and the application's, which are never renamed.
    symbolPointSize_ = ToolbarButtonLook::symbolPointSize(false, labelled_);
    setToolTip(QString::fromStdString(name_));
    setAccessibleName(QString::fromStdString(name_));
    updateColors();
}

void ToolbarButton::setIcon(const QPixmap& icon) {
    icon_ = icon;
    updateColors();
}

// ---- Painting ----

void ToolbarButton::paintGlyph(QPainter& painter, const QColor& tint) {
    const QRectF glyph = qt(ToolbarButtonLook::glyphFrame(boundsOf(*this), glyphSize_, labelled_));
    if (!icon_.isNull()) {
        painter.drawPixmap(glyph, icon_, QRectF(icon_.rect()));
        return;
    }
    Symbols::paint(painter, glyph, symbol_, symbolPointSize_, tint);
}

QPixmap ToolbarButton::halo(const QString& caption, const QFont& captionFont, const QRectF& captionFrame) const {
    // A rebuild makes new buttons with the faces of the old ones: the halo is made once.
    const double ratio = devicePixelRatioF();
    const bool dark = VisualAppearance::shared().dark();
    const QString key = QStringLiteral("toolbar-halo:%1|%2|%3x%4|%5|%6|%7|%8")
                            .arg(QString::fromStdString(symbol_), caption)
                            .arg(width())
                            .arg(height())
                            .arg(ratio)
                            .arg(dark)
                            .arg(symbolPointSize_)
                            .arg(icon_.isNull());
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) return cached;
    const geometry::Size bounds = boundsOf(*this);
    QPainterPath outline;
    if (icon_.isNull() && Symbols::isInstalled(Symbols::fontFamily())) {
        // Under the glyph exactly as it is drawn, so that no halo shows beside it.
        outline.addPath(Symbols::outline(qt(ToolbarButtonLook::glyphFrame(bounds, glyphSize_, labelled_)), symbol_,
                                         symbolPointSize_));
    }
    if (!caption.isEmpty()) {
        const QFontMetricsF metrics(captionFont);
        const double x = captionFrame.center().x() - metrics.horizontalAdvance(caption) / 2;
        const double y = captionFrame.center().y() + (metrics.ascent() - metrics.descent()) / 2;
        outline.addText(QPointF(x, y), captionFont, caption);
    }
    QImage image = blurredShape(size(), ratio, outline, DesignTokens::legibilityShadowRadius, 1);
    QPainter tint(&image);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(QRectF(QPointF(0, 0), QSizeF(size())), DesignTokens::NS::legibilityShadow.resolved(dark));
    tint.end();
    cached = QPixmap::fromImage(image);
    QPixmapCache::insert(key, cached);
    return cached;
}

void ToolbarButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (entrance_) {
        const auto state = entranceState();
        const QPointF centre = QRectF(rect()).center();
        painter.setOpacity(state.opacity);
        painter.translate(state.dx, state.dy);
        painter.translate(centre);
        painter.scale(state.scale, state.scale);
        painter.translate(-centre);
    }

    const geometry::Size bounds = boundsOf(*this);
    const QRectF background = qt(ToolbarButtonLook::backgroundFrame(bounds));
    const double radius = ToolbarButtonLook::cornerRadius(bounds, isCircular);
    switch (ToolbarButtonLook::background(selected, highlighted_, hovering_, isEnabled())) {
        case ToolbarButtonLook::Background::selected:
            painter.setBrush(DesignTokens::NS::buttonActive.resolved());
            painter.setPen(QPen(DesignTokens::NS::buttonActiveBorder.resolved(), 1));
            painter.drawRoundedRect(background, radius, radius);
            break;
        case ToolbarButtonLook::Background::highlighted:
            painter.setBrush(DesignTokens::NS::buttonHighlight.resolved());
            painter.setPen(QPen(DesignTokens::NS::buttonHighlight.resolved(), 1));
            painter.drawRoundedRect(background, radius, radius);
            break;
        case ToolbarButtonLook::Background::hovered:
            painter.setBrush(DesignTokens::NS::pedestalBorder.resolved());
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(background, radius, radius);
            break;
        case ToolbarButtonLook::Background::plain: break;
    }

    // Selected buttons sit on the accent: white, and without the halo that keeps the
    // glyph and caption legible on glass.
    const QColor glyphTint = selected ? QColor(Qt::white) : DesignTokens::NS::textPrimary.resolved();
    const QColor captionColor = selected ? QColor(Qt::white) : DesignTokens::NS::textSecondary.resolved();
    const QFont captionFont = DesignTokens::font(ToolbarButtonLook::captionFontSize, FontWeight::medium);
    const QRectF captionFrame = qt(ToolbarButtonLook::captionFrame(bounds));
    const QString caption = labelled_ ? QFontMetricsF(captionFont).elidedText(QString::fromStdString(name_),
                                                                                Qt::ElideRight, captionFrame.width())
                                      : QString();
    if (!selected) painter.drawPixmap(QPointF(0, 0), halo(caption, captionFont, captionFrame));
    paintGlyph(painter, glyphTint);
    if (!caption.isEmpty()) {
        painter.setFont(captionFont);
        painter.setPen(captionColor);
        painter.drawText(captionFrame, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    }
}

// ---- Entrance ----

double ToolbarButton::now() const { return environment_ && environment_->clock ? environment_->clock->uptime() : 0; }

void ToolbarButton::animateEntrance(double delay, ToolbarSide side) {
    entrance_ = Entrance{now(), delay, side};
    QWidget::update();
    if (!environment_ || environment_->timers == nullptr) return;
    entranceTimer_ = dispatch::Timer::repeating(*environment_->timers, kEntranceFrame,
                                                [self = QPointer<ToolbarButton>(this)] {
                                                    if (!self) return;
                                                    if (self->entrance_ &&
                                                        self->now() - self->entrance_->start >=
                                                            self->entrance_->delay + ToolbarEntrance::duration) {
                                                        self->entrance_.reset();
                                                        self->entranceTimer_.cancel();
                                                    }
                                                    self->QWidget::update();
                                                });
}

ToolbarEntrance::State ToolbarButton::entranceState() const {
    if (!entrance_) return ToolbarEntrance::State{};
    return ToolbarEntrance::state(now() - entrance_->start, entrance_->delay, entrance_->side);
}

// ---- Presses ----

geometry::Point ToolbarButton::toolkitPoint(QPointF global) const {
    const double flip = environment_ && environment_->screenSpace ? environment_->screenSpace().flipHeight : 0;
    return geometry::Point{global.x(), flip - global.y()};
}

geometry::Point ToolbarButton::windowOrigin() const {
    const QWidget* top = window();
    if (top == nullptr || top == this) return geometry::Point{};
    const double flip = environment_ && environment_->screenSpace ? environment_->screenSpace().flipHeight : 0;
    const QRect frame = top->geometry();
    return geometry::Point{static_cast<double>(frame.x()), flip - (frame.y() + frame.height())};
}

std::int64_t ToolbarButton::windowNumber() const {
    const QWidget* top = window();
    if (top == nullptr || top == this || !environment_ || !environment_->windowNumber) return 0;
    return environment_->windowNumber(top);
}

std::string ToolbarButton::describe(const QMouseEvent& event) const {
    qthost::HostMouseFacts facts;
    if (environment_ && environment_->hostMouseFacts) facts = environment_->hostMouseFacts(event);
    return qthost::mouseDetails(event, *this, facts);
}

void ToolbarButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (!isEnabled() || pressing_) return;
    const std::int64_t number = windowNumber();
    if (environment_ && environment_->log) {
        environment_->log(ToolbarLog::buttonDown(identifier_, number, number, describe(*event)));
    }
    PointerHover::shared().reset();
    ToolbarButtonPress::Options options;
    options.horizontal = dragsHorizontally;
    options.drag = onScrollDrag ? ToolbarButtonPress::Drag::scrollsStrip
                   : onDrag     ? ToolbarButtonPress::Drag::movesToolbar
                                : ToolbarButtonPress::Drag::none;
    press_.emplace(options);
    pressing_ = true;
    apply(press_->begin(toolkitPoint(event->globalPosition()), windowOrigin()));
}

void ToolbarButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressing_) return;
    event->accept();
    // The release went elsewhere: the press is over, without a tap.
    if (!event->buttons().testFlag(Qt::LeftButton)) return abortPress();
    apply(press_->move(toolkitPoint(event->globalPosition()), QRectF(rect()).contains(event->position())));
}

void ToolbarButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressing_) return;
    event->accept();
    const bool inside = QRectF(rect()).contains(event->position());
    if (environment_ && environment_->log) {
        environment_->log(ToolbarLog::buttonUp(identifier_, windowNumber(), inside, press_->dragged(),
                                               describe(*event)));
    }
    const auto reaction = press_->finish(inside);
    pressing_ = false;
    apply(reaction);
    finishPress();
}

void ToolbarButton::abortPress() {
    if (!pressing_) return;
    const auto reaction = press_->abort();
    pressing_ = false;
    apply(reaction);
    finishPress();
}

void ToolbarButton::finishPress() {
    PointerHover::shared().reset();
}

void ToolbarButton::apply(const ToolbarButtonPress::Reaction& reaction) {
    // A callback may rebuild the toolbar and take this button away later (deleteLater) or
    // hide its panel: nothing of the button after it is gone.
    const QPointer<ToolbarButton> self(this);
    if (reaction.highlight == true) {
        highlighted_ = true;
        QWidget::update();
    }
    if (reaction.press && onPress) onPress();
    if (!self) return;
    if (reaction.highlight == false) {
        highlighted_ = false;
        QWidget::update();
    }
    // A scroll-drag ends the press for the action at once: released before the strip moves.
    if (reaction.release && !reaction.tap && onRelease) onRelease();
    if (!self) return;
    if (reaction.scrollStep && onScrollDrag) onScrollDrag(*reaction.scrollStep);
    if (!self) return;
    if (reaction.toolbarOrigin && onDrag) onDrag(*reaction.toolbarOrigin);
    if (!self) return;
    if (reaction.tap) {
        if (onTap) onTap();
        if (!self) return;
        if (reaction.release && onRelease) onRelease();
    }
}

bool ToolbarButton::accessibilityPerformPress() {
    if (!isEnabled()) return false;
    if (environment_ && environment_->log) environment_->log(ToolbarLog::buttonAccessibility(identifier_));
    const QPointer<ToolbarButton> self(this);
    if (onPress) onPress();
    if (!self) return true;
    if (onRelease) onRelease();
    if (!self) return true;
    if (onTap) onTap();
    return true;
}

void ToolbarButton::hideEvent(QHideEvent* event) {
    abortPress();
    QWidget::hideEvent(event);
}

void ToolbarButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) abortPress();
    QWidget::changeEvent(event);
}

bool ToolbarButton::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse) abortPress();
    return QWidget::event(event);
}

}  // namespace dorvane
