#include "tools/corvelle-screenshots/ScreenshotDesk.h"

#include <array>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane::screenshots {

namespace {

void paintWindow(QPainter& painter, const QRectF& frame, const QString& title, const QColor& body) {
    QPainterPath shape;
    shape.addRoundedRect(frame, 10, 10);
    painter.fillPath(shape, body);
    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(QRectF(frame.left(), frame.top(), frame.width(), 30), body.darker(108));
    painter.restore();
    const std::array<QColor, 3> lights{QColor(255, 95, 87), QColor(254, 188, 46), QColor(40, 200, 64)};
    for (std::size_t index = 0; index < lights.size(); ++index) {
        painter.setBrush(lights[index]);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(frame.left() + 18 + 20 * static_cast<double>(index), frame.top() + 15), 6, 6);
    }
    painter.setPen(QColor(60, 60, 67));
    painter.setFont(DesignTokens::font(13, FontWeight::medium));
    painter.drawText(QRectF(frame.left(), frame.top(), frame.width(), 30), Qt::AlignCenter, title);
    painter.setPen(QColor(120, 120, 128));
    painter.setFont(DesignTokens::font(13));
    for (int line = 0; line < 8; ++line) {
        const double y = frame.top() + 56 + line * 26;
        if (y + 12 > frame.bottom()) break;
        painter.fillRect(QRectF(frame.left() + 24, y, frame.width() * (line % 3 == 2 ? 0.45 : 0.8), 8),
                         QColor(0, 0, 0, 24));
    }
}

}  // namespace

Desktop::Desktop() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("桌面"));
}

void Desktop::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wallpaper(0, 0, width(), height());
    wallpaper.setColorAt(0, QColor(58, 96, 168));
    wallpaper.setColorAt(0.55, QColor(120, 110, 190));
    wallpaper.setColorAt(1, QColor(236, 150, 120));
    painter.fillRect(rect(), wallpaper);
    painter.fillRect(QRect(0, 0, width(), 38), QColor(246, 246, 248, 220));
    painter.setPen(QColor(30, 30, 32));
    painter.setFont(DesignTokens::font(13, FontWeight::medium));
    painter.drawText(QRect(64, 0, 300, 38), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("访达    文件    编辑    显示"));
    paintWindow(painter, QRectF(560, 120, 640, 420), QStringLiteral("笔记.txt"), QColor(252, 252, 252));
    paintWindow(painter, QRectF(980, 470, 460, 380), QStringLiteral("终端"), QColor(236, 238, 242));
    painter.fillRect(probePatch(), probeColor());
}

CompositingProbe::CompositingProbe()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(Desktop::probePatch());
}

QColor CompositingProbe::expected() {
    const QColor under = Desktop::probeColor();
    return QColor((under.red() + 255) / 2, (under.green() + 255) / 2, (under.blue() + 255) / 2);
}

void CompositingProbe::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), QColor(255, 255, 255, 128));
}

SettingsCard::SettingsCard(QWidget* parent) : QWidget(parent) { DesignTokens::repaintOnAppearanceChange(this); }

void SettingsCard::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), DesignTokens::Colors::pageBackground.resolved());
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    painter.setFont(DesignTokens::font(DesignTokens::fontTitle, FontWeight::semibold));
    painter.drawText(QRectF(24, 20, width() - 48, 28), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("连接自动化"));
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    painter.setFont(DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold));
    painter.drawText(QRectF(24, 62, width() - 48, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("分辨率"));
    const QRectF card(24, 88, width() - 48, 104);
    QPainterPath shape;
    shape.addRoundedRect(card, DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, DesignTokens::Colors::card.resolved());
    const QRectF icon(card.left() + 14, card.top() + 12, 28, 28);
    QPainterPath tile;
    tile.addRoundedRect(icon, 7, 7);
    painter.fillPath(tile, DesignTokens::Colors::secondaryFill.resolved());
    Symbols::paint(painter, icon, "display.trianglebadge.exclamationmark", 17, DesignTokens::Colors::icon.resolved());
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    painter.setFont(DesignTokens::font(DesignTokens::fontBody, FontWeight::medium));
    painter.drawText(QRectF(icon.right() + 12, icon.top(), 200, icon.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("连接时切换"));
    painter.fillRect(QRectF(card.left() + 54, card.top() + 52, card.width() - 54, 1), DesignTokens::Colors::separator.resolved());
}

ToolbarSymbols::ToolbarSymbols(FloatingAction active, QWidget* parent) : QWidget(parent), active_(active) {
    DesignTokens::repaintOnAppearanceChange(this);
}

void ToolbarSymbols::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::array actions{FloatingAction::runningApplications, FloatingAction::resolution,
                             FloatingAction::maximizeWindow, FloatingAction::centerWindow, FloatingAction::settings};
    // Across when the strip lies along the bottom.
    const bool across = width() > height();
    double along = 14;
    for (const FloatingAction action : actions) {
        const QRectF button = across ? QRectF(along, 7, 58, 58) : QRectF(7, along, 58, 58);
        QPainterPath shape;
        shape.addRoundedRect(button, 12, 12);
        painter.fillPath(shape, (action == active_ ? DesignTokens::NS::buttonActive : DesignTokens::NS::buttonNormal)
                                    .resolved());
        const QColor ink = action == active_ ? QColor(Qt::white) : DesignTokens::NS::textPrimary.resolved();
        Symbols::paint(painter, QRectF(button.left(), button.top() + 6, button.width(), 28), symbol(action), 22, ink);
        painter.setPen(ink);
        painter.setFont(DesignTokens::font(DesignTokens::fontCaption));
        painter.drawText(QRectF(button.left(), button.top() + 36, button.width(), 16), Qt::AlignCenter,
                         QString::fromUtf8(title(action).data(), static_cast<qsizetype>(title(action).size())));
        along += 64;
    }
}

}  // namespace dorvane::screenshots
