#include "Dorvane/QtHost/QtApplicationPlatform.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace dorvane::qthost {

namespace {

QPalette darkPalette() {
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xf2, 0xf2, 0xf5);
    const QColor disabled(0x80, 0x80, 0x86);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x40, 0x9c, 0xff));
    palette.setColor(QPalette::PlaceholderText, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabled);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    return palette;
}

}  // namespace

void QtApplicationPlatform::quit(int exitCode) { QCoreApplication::exit(exitCode); }

void QtApplicationPlatform::applyTheme(AppTheme theme) {
    // Fusion draws the same on every desktop and takes any palette; "system" keeps
    // Fusion's own (light) palette, as Qt 6.4 cannot read the desktop's dark mode.
    QStyle* style = QStyleFactory::create("Fusion");
    if (style) QApplication::setStyle(style);
    QApplication::setPalette(theme == AppTheme::dark ? darkPalette() : QApplication::style()->standardPalette());
}

void QtApplicationPlatform::activate() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->testAttribute(Qt::WA_ShowWithoutActivating)) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
}

QString QtApplicationPlatform::imagePath(const std::string& name) {
    return QStringLiteral(":/images/") + QString::fromStdString(name) + QStringLiteral(".png");
}

bool QtApplicationPlatform::hasImage(const std::string& name) { return QFile::exists(imagePath(name)); }

}  // namespace dorvane::qthost
