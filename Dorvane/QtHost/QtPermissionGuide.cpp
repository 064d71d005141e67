#include "Dorvane/QtHost/QtPermissionGuide.h"

#include <cmath>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "Dorvane/Shell/ScreenSpace.h"

namespace dorvane::qthost {

namespace {

// The guide's own look.
constexpr double kCornerRadius = 14;
constexpr int kRowHeight = 38;
constexpr double kDragThreshold = 4;
constexpr double kDragImageWidth = 230;
constexpr const char* kSettingsWindowTitle = "设置";

QFont systemFont(int pointSize) {
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

}  // namespace

PermissionDragRow::PermissionDragRow(QString executablePath, std::function<void(bool)> dragChanged, QWidget* parent)
    : QWidget(parent), executablePath_(std::move(executablePath)), dragChanged_(std::move(dragChanged)) {
    setFixedHeight(kRowHeight);
    setCursor(Qt::OpenHandCursor);
}

void PermissionDragRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    const QRectF iconRect(bounds.left() + 5, bounds.center().y() - 13, 26, 26);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        icon.paint(&painter, iconRect.toRect());
    } else {
        painter.setBrush(palette().color(QPalette::Highlight));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(iconRect, 6, 6);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(systemFont(13));
    const QFontMetricsF metrics(painter.font());
    // The name's top sits 8 points above the row's middle.
    painter.drawText(QPointF(bounds.left() + 39, bounds.center().y() - 8 + metrics.ascent()), QStringLiteral("Corvelle"));
}

void PermissionDragRow::mousePressEvent(QMouseEvent* event) {
    initial_ = event->position();
    dragging_ = false;
    event->accept();
}

void PermissionDragRow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPointF moved = event->position() - initial_;
    if (std::hypot(moved.x(), moved.y()) <= kDragThreshold) return;
    dragging_ = true;
    payload_ = std::make_unique<QMimeData>();
    payload_->setUrls({QUrl::fromLocalFile(executablePath_)});
    if (dragChanged_) dragChanged_(true);
}

void PermissionDragRow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_) return;
    dragging_ = false;
    payload_.reset();
    if (dragChanged_) dragChanged_(false);
}

QtPermissionGuidePanel::QtPermissionGuidePanel(QString executablePath, displays::ScreenServices& screens,
                                               std::function<void()> close, std::function<void()> dragEnded)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      screens_(screens),
      dragEnded_(std::move(dragEnded)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("辅助功能引导"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(4);
    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    auto* arrow = new QLabel(QStringLiteral("↑"), this);
    arrow->setStyleSheet(QStringLiteral("color: palette(highlight);"));
    auto* hint = new QLabel(QStringLiteral("拖入辅助功能列表并开启"), this);
    hint->setFont(systemFont(12));
    hint->setForegroundRole(QPalette::PlaceholderText);
    auto* closeButton = new QToolButton(this);
    closeButton->setText(QStringLiteral("✕"));
    closeButton->setAutoRaise(true);
    closeButton->setFixedSize(24, 22);
    closeButton->setFocusPolicy(Qt::NoFocus);
    closeButton->setAccessibleName(QStringLiteral("关闭权限引导"));
    QObject::connect(closeButton, &QToolButton::clicked, this, [close = std::move(close)] {
        if (close) close();
    });
    header->addWidget(arrow);
    header->addWidget(hint);
    header->addStretch(1);
    header->addWidget(closeButton);
    column->addLayout(header);
    row_ = new PermissionDragRow(std::move(executablePath), [this](bool dragging) { dragChanged(dragging); }, this);
    column->addWidget(row_);
}

void QtPermissionGuidePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.fillPath(shape, palette().color(QPalette::Window));
    QLinearGradient tint(rect().topLeft(), rect().topRight());
    tint.setColorAt(0, QColor::fromRgbF(0.0f, 0.48f, 1.0f, 0.16f));
    tint.setColorAt(0.5, QColor::fromRgbF(0.69f, 0.32f, 0.87f, 0.12f));
    tint.setColorAt(1, QColor::fromRgbF(0.19f, 0.69f, 0.78f, 0.14f));
    painter.fillPath(shape, tint);
}

void QtPermissionGuidePanel::setFrame(const geometry::Rect& frame) {
    const auto shown = ScreenSpace::of(screens_.screens()).screen(frame);
    setGeometry(static_cast<int>(std::lround(shown.x)), static_cast<int>(std::lround(shown.y)),
                static_cast<int>(std::lround(shown.width)), static_cast<int>(std::lround(shown.height)));
}

void QtPermissionGuidePanel::orderFrontRegardless() {
    show();
    raise();
}

void QtPermissionGuidePanel::orderOut() { hide(); }

bool QtPermissionGuidePanel::ignoresMouseEvents() const { return row_->isDragging(); }

void QtPermissionGuidePanel::dragChanged(bool dragging) {
    setWindowOpacity(dragging ? kDraggingOpacity : 1.0);
    setAttribute(Qt::WA_TransparentForMouseEvents, dragging);
    if (auto* window = windowHandle()) window->setFlag(Qt::WindowTransparentForInput, dragging);
    if (dragging) {
        lower();
        return;
    }
    orderFrontRegardless();
    if (dragEnded_) dragEnded_();
}

QtPermissionGuideUI::QtPermissionGuideUI(displays::ScreenServices& screens, workspace::ApplicationWorkspace& workspace,
                                         pid_t ownPID, std::string executablePath)
    : screens_(screens), workspace_(workspace), ownPID_(ownPID), executablePath_(QString::fromStdString(executablePath)) {}

std::unique_ptr<PermissionGuidePanel> QtPermissionGuideUI::makePanel(std::function<void()> close,
                                                                     std::function<void()> dragEnded) {
    return std::make_unique<QtPermissionGuidePanel>(executablePath_, screens_, std::move(close), std::move(dragEnded));
}

void QtPermissionGuideUI::activateProgram() {
    workspace_.activate(ownPID_);
    for (auto* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() != QString::fromUtf8(kSettingsWindowTitle)) continue;
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
}

}  // namespace dorvane::qthost
