#include "Dorvane/QtHost/QtPermissionGuide.h"

#include <cmath>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QAbstractButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "Dorvane/ShellBase/ScreenSpace.h"
#include "Dorvane/Visual/ProgramIcon.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"

namespace dorvane::qthost {

namespace {

// The guide's own measures and tint; the rest of its look is the shared one.
constexpr int kRowHeight = 38;
constexpr double kHintFontSize = 12;
constexpr double kDragThreshold = 4;
constexpr const char* kSettingsWindowTitle = "设置";
const QColor kTintBlue = QColor::fromRgbF(0.0f, 0.48f, 1.0f, 0.16f);
const QColor kTintPurple = QColor::fromRgbF(0.69f, 0.32f, 0.87f, 0.12f);
const QColor kTintTeal = QColor::fromRgbF(0.19f, 0.69f, 0.78f, 0.14f);

// One symbol of the symbol font, drawn in a colour of the shared look.
class SymbolMark final : public QWidget {
public:
    SymbolMark(std::string_view name, const AdaptiveColor& color, QWidget* parent)
        : QWidget(parent), name_(name), color_(color) {
        setFixedSize(16, 16);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Symbols::paint(painter, QRectF(rect()), name_, DesignTokens::fontBody, color_.resolved());
    }

private:
    std::string_view name_;
    const AdaptiveColor& color_;
};

// The close button: the "xmark" symbol in a 24 × 22 frame.
class CloseMark final : public QAbstractButton {
public:
    explicit CloseMark(QWidget* parent) : QAbstractButton(parent) {
        setFixedSize(24, 22);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Symbols::paint(painter, QRectF(rect()), "xmark", DesignTokens::fontBody,
                       DesignTokens::Colors::textSecondary.resolved());
    }
};

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
        paintProgramIcon(painter, iconRect);
    }
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    painter.setFont(DesignTokens::font(DesignTokens::fontBody));
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
    DesignTokens::repaintOnAppearanceChange(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(4);
    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    auto* arrow = new SymbolMark("arrow.up", DesignTokens::Colors::accent, this);
    auto* hint = new QLabel(QStringLiteral("拖入辅助功能列表并开启"), this);
    hint->setFont(DesignTokens::font(kHintFontSize));
    QPalette hintColors = hint->palette();
    hintColors.setColor(QPalette::WindowText, DesignTokens::Colors::textSecondary.resolved());
    hint->setPalette(hintColors);
    auto* closeButton = new CloseMark(this);
    closeButton->setAccessibleName(QStringLiteral("关闭权限引导"));
    // Queued: closing destroys this panel, which must not happen inside its button's click.
    QObject::connect(
        closeButton, &QAbstractButton::clicked, this,
        [close = std::move(close)] {
            if (close) close();
        },
        Qt::QueuedConnection);
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
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusLg, DesignTokens::radiusLg);
    painter.fillPath(shape, DesignTokens::Colors::pageBackground.resolved());
    QLinearGradient tint(rect().topLeft(), rect().topRight());
    tint.setColorAt(0, kTintBlue);
    tint.setColorAt(0.5, kTintPurple);
    tint.setColorAt(1, kTintTeal);
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
    // Input goes through the window to whatever lies under it; the row keeps the pointer
    // it grabbed with the press until the button goes up.
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
