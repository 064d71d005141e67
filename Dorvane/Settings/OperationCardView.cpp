#include "Dorvane/Settings/OperationCardView.h"

#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Settings/OperationDragHandle.h"
#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/ToggleSwitch.h"

namespace dorvane {

namespace {

QFont titleFont() { return DesignTokens::font(DesignTokens::fontBody, FontWeight::medium); }
QFont secondLineFont() { return DesignTokens::keyFont(DesignTokens::fontCaption); }

class OperationCardAccessible final : public QAccessibleWidget {
public:
    explicit OperationCardAccessible(OperationCardView* card) : QAccessibleWidget(card, QAccessible::Grouping) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return QString::fromStdString(card()->card().title);
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {stepName(OperationStep::earlier), stepName(OperationStep::later)}; }
    void doAction(const QString& name) override {
        for (const OperationStep step : {OperationStep::earlier, OperationStep::later}) {
            if (name == stepName(step)) card()->step(step);
        }
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    static QString stepName(OperationStep step) { return qtText(title(step)); }
    OperationCardView* card() const { return static_cast<OperationCardView*>(widget()); }
};

QAccessibleInterface* cardAccessibility(const QString& /*className*/, QObject* object) {
    if (auto* card = dynamic_cast<OperationCardView*>(object)) return new OperationCardAccessible(card);
    return nullptr;
}

}  // namespace

OperationHeading::OperationHeading(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    DesignTokens::repaintOnAppearanceChange(this);
}

void OperationHeading::set(const std::string& symbol, const QString& title, const QString& secondLine) {
    if (symbol == symbol_ && title == title_ && secondLine == secondLine_) return;
    const bool linesChanged = secondLine.isEmpty() != secondLine_.isEmpty();
    symbol_ = symbol;
    title_ = title;
    secondLine_ = secondLine;
    if (linesChanged) updateGeometry();
    update();
}

QSize OperationHeading::sizeHint() const {
    double height = QFontMetricsF(titleFont()).height();
    if (!secondLine_.isEmpty()) height += QuickActionsMetrics::titleSpacing + QFontMetricsF(secondLineFont()).height();
    const int width = QuickActionsMetrics::actionIconWidth + QuickActionsMetrics::headingSpacing +
                      static_cast<int>(QFontMetricsF(titleFont()).horizontalAdvance(title_));
    return QSize(width, std::max(QuickActionsMetrics::headingMinimumHeight, static_cast<int>(std::ceil(height))));
}

QSize OperationHeading::minimumSizeHint() const {
    return QSize(QuickActionsMetrics::actionIconWidth, sizeHint().height());
}

void OperationHeading::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = DesignTokens::Colors::textPrimary.resolved();
    Symbols::paint(painter,
                   QRectF(0, (height() - QuickActionsMetrics::actionIconHeight) / 2.0, QuickActionsMetrics::actionIconWidth,
                          QuickActionsMetrics::actionIconHeight),
                   symbol_, DesignTokens::fontEmphasis, primary);
    const double left = QuickActionsMetrics::actionIconWidth + QuickActionsMetrics::headingSpacing;
    const double room = std::max(0.0, width() - left);
    const QFontMetricsF titleMetrics(titleFont());
    const QFontMetricsF secondMetrics(secondLineFont());
    const double lines = titleMetrics.height() +
                         (secondLine_.isEmpty() ? 0 : QuickActionsMetrics::titleSpacing + secondMetrics.height());
    double top = (height() - lines) / 2;
    painter.setFont(titleFont());
    painter.setPen(primary);
    painter.drawText(QRectF(left, top, room, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(title_, Qt::ElideRight, room));
    if (secondLine_.isEmpty()) return;
    top += titleMetrics.height() + QuickActionsMetrics::titleSpacing;
    painter.setFont(secondLineFont());
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    painter.drawText(QRectF(left, top, room, secondMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     secondMetrics.elidedText(secondLine_, Qt::ElideRight, room));
}

OperationCardView::OperationCardView(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(cardAccessibility);
        return true;
    }();
    (void)installed;
    setMinimumHeight(QuickActionsMetrics::cardMinimumHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(QuickActionsMetrics::cardHorizontalPadding, QuickActionsMetrics::cardVerticalPadding,
                            QuickActionsMetrics::cardHorizontalPadding, QuickActionsMetrics::cardVerticalPadding);
    row->setSpacing(QuickActionsMetrics::cardSpacing);
    grip_ = new OperationDragHandle(this);
    row->addWidget(grip_);
    heading_ = new OperationHeading(this);
    row->addWidget(heading_, 1);
    toggle_ = new ToggleSwitch(QString(), ToggleSwitch::ControlSize::mini, this);
    toggle_->setFixedSize(QuickActionsMetrics::switchFrame, QuickActionsMetrics::switchFrame);
    row->addWidget(toggle_);
    pencil_ = new PlainButton("pencil", QString(), DesignTokens::font(DesignTokens::fontBody),
                              DesignTokens::Colors::textSecondary, this);
    pencil_->setFixedSize(QuickActionsMetrics::pencilWidth, QuickActionsMetrics::pencilHeight);
    row->addWidget(pencil_);

    toggle_->onChange = [this](bool on) {
        if (const auto toggled = onToggle) toggled(on);
    };
    connect(pencil_, &QAbstractButton::clicked, this, [this] {
        if (const auto edit = onEdit) edit();
    });
    DesignTokens::repaintOnAppearanceChange(this);
}

void OperationCardView::render(const OperationCard& card) {
    const QString title = QString::fromStdString(card.title);
    grip_->set(card.id, qtText(card.dragAccessibleName()));
    heading_->set(card.symbol, title, QString::fromStdString(card.secondLine));
    toggle_->setOn(card.switchOn);
    pencil_->setToolTip(QString::fromStdString(card.editHelp()));
    pencil_->setAccessibleName(QString::fromStdString(card.editAccessibleName()));
    card_ = card;
}

void OperationCardView::step(OperationStep direction) {
    if (const auto stepped = onStep) stepped(direction);
}

void OperationCardView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, DesignTokens::Colors::card.resolved());
}

void OperationCardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (const auto resized = onResize) resized(size());
}

}  // namespace dorvane
