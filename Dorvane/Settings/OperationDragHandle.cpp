#include "Dorvane/Settings/OperationDragHandle.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

namespace {

// The grip's intrinsic size.
constexpr QSize kIntrinsicSize{20, 40};

QAccessibleInterface* gripAccessibility(const QString& /*className*/, QObject* object) {
    if (auto* grip = dynamic_cast<OperationDragHandle*>(object)) return new QAccessibleWidget(grip, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

OperationDragHandle::OperationDragHandle(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(gripAccessibility);
        return true;
    }();
    (void)installed;
    setToolTip(QStringLiteral("拖动排序"));
    setFixedSize(QuickActionsMetrics::gripWidth, QuickActionsMetrics::gripHeight);
    DesignTokens::repaintOnAppearanceChange(this);
}

void OperationDragHandle::set(const std::string& operationID, const QString& accessibleName) {
    operationID_ = operationID;
    if (this->accessibleName() != accessibleName) setAccessibleName(accessibleName);
}

QSize OperationDragHandle::sizeHint() const { return kIntrinsicSize; }

void OperationDragHandle::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DesignTokens::Colors::textSecondary.resolved());
    const QPointF centre = QRectF(rect()).center();
    const double dot = QuickActionsMetrics::dotDiameter;
    for (const double x : QuickActionsMetrics::dotColumns) {
        for (const double y : QuickActionsMetrics::dotRows) painter.drawEllipse(QRectF(centre.x() + x, centre.y() + y, dot, dot));
    }
}

void OperationDragHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    event->accept();
    if (const auto press = onPress) press(operationID_, event->globalPosition().toPoint());
}

void OperationDragHandle::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!(event->buttons() & Qt::LeftButton)) return;
    if (const auto move = onMove) move(event->globalPosition().toPoint());
}

void OperationDragHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    event->accept();
    if (const auto release = onRelease) release(event->globalPosition().toPoint());
}

}  // namespace dorvane
