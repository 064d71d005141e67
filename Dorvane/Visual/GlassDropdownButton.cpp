#include "Dorvane/Visual/GlassDropdownButton.h"

#include <algorithm>
#include <cmath>

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassShapes.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

namespace dorvane {

namespace {

QFont titleFont() { return DesignTokens::font(DesignTokens::fontBody); }

}  // namespace

// The menu a preview draws under the field: elevated surface, rounded, a light shadow.
class GlassDropdownButton::Preview final : public QWidget {
public:
    Preview(DropdownMenuModel menu, QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const int margin = DesignTokens::previewMenuShadow.margin;
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(margin, margin, margin, margin);
        auto* view = new DropdownMenuView({}, {}, this);
        view->setModel(std::move(menu));
        layout->addWidget(view);
        DesignTokens::repaintOnAppearanceChange(this);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        const auto& shadow = DesignTokens::previewMenuShadow;
        const QRectF card = QRectF(rect()).adjusted(shadow.margin, shadow.margin, -shadow.margin, -shadow.margin);
        const double radius = GlassDropdownMetrics::cornerRadius;
        const glass::CornerRadii radii{radius, radius, radius, radius};
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawImage(QPointF(0, 0), blurredShape(size(), devicePixelRatioF(),
                                                      roundedPath(card.translated(0, shadow.offsetY), radii),
                                                      shadow.blurRadius, shadow.opacity));
        painter.fillPath(roundedPath(card, radii), DesignTokens::Colors::surfaceElevated.resolved());
    }
};

GlassDropdownButton::GlassDropdownButton(double minWidth, QWidget* parent)
    : QAbstractButton(parent), minWidth_(std::isfinite(minWidth) && minWidth > 0 ? minWidth : 0) {
    setFocusPolicy(controlFocusPolicy);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleDescription(QStringLiteral("弹出选项"));
    DesignTokens::repaintOnAppearanceChange(this);
}

void GlassDropdownButton::setFace(const QString& title, bool placeholderStyle, bool open) {
    const bool resized = title != title_;
    title_ = title;
    placeholderStyle_ = placeholderStyle;
    open_ = open;
    setText(title);
    if (resized) {
        updateGeometry();
        announceValue(this, title_);
    }
    update();
}

void GlassDropdownButton::setPreview(bool open, DropdownMenuModel menu, double menuWidth) {
    previewOpen_ = open;
    delete preview_.data();
    if (open && parentWidget() != nullptr) {
        const int height = static_cast<int>(GlassDropdownMetrics::menuHeight(menu.rows.size()));
        auto* preview = new Preview(std::move(menu), parentWidget());
        const int margin = DesignTokens::previewMenuShadow.margin;
        const QPoint origin = pos() + QPoint(0, static_cast<int>(previewMenuOffset));
        preview->setGeometry(QRect(origin, QSize(static_cast<int>(std::ceil(menuWidth)), height))
                                 .marginsAdded(QMargins(margin, margin, margin, margin)));
        preview->raise();
        preview->show();
        preview_ = preview;
    }
    update();
}

QSize GlassDropdownButton::sizeHint() const {
    const QFontMetricsF metrics(titleFont());
    const double content = DesignTokens::buttonHorizontalPadding + std::ceil(metrics.horizontalAdvance(title_)) +
                           contentSpacing + chevronSize + DesignTokens::buttonHorizontalPadding;
    return QSize(static_cast<int>(std::ceil(std::max(minWidth_, content))),
                 static_cast<int>(DesignTokens::controlHeight));
}

void GlassDropdownButton::enterEvent(QEnterEvent* event) {
    hovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void GlassDropdownButton::leaveEvent(QEvent* event) {
    hovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void GlassDropdownButton::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    const bool pressedLook = hovering_ || isShownOpen();
    painter.fillPath(background, (pressedLook ? DesignTokens::Colors::secondaryFillPressed
                                              : DesignTokens::Colors::secondaryFill)
                                     .resolved(dark));

    const double padding = DesignTokens::buttonHorizontalPadding;
    const QRectF chevron(width() - padding - chevronSize, 0, chevronSize, height());
    Symbols::paint(painter, chevron, chevronSymbol, chevronSize, DesignTokens::Colors::icon.resolved(dark));
    const QRectF title(padding, 0, std::max(0.0, chevron.left() - contentSpacing - padding), height());
    const QFont font = titleFont();
    painter.setFont(font);
    painter.setPen((placeholderStyle_ ? DesignTokens::Colors::textTertiary : DesignTokens::Colors::textPrimary)
                       .resolved(dark));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(title_, Qt::ElideRight, title.width()));
}

}  // namespace dorvane
