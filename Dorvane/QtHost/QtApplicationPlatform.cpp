#include "Dorvane/QtHost/QtApplicationPlatform.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "Dorvane/Visual/VisualAppearance.h"

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
    theme_ = theme;
    apply();
}

void QtApplicationPlatform::followAppearance(system::AppearanceServices& appearance, dispatch::Executor& mainQueue) {
    system_ = appearance.current();
    apply();
    appearanceChanges_ = appearance.observe(mainQueue, [this](const system::AppearanceSettings& settings) {
        system_ = settings;
        apply();
    });
}

bool QtApplicationPlatform::isDark() const {
    return theme_ == AppTheme::dark || (theme_ == AppTheme::system && system_.style == system::InterfaceStyle::dark);
}

void QtApplicationPlatform::apply() {
    // Fusion draws the same on every desktop and takes any palette.
    if (QApplication::style() == nullptr || QApplication::style()->name() != QStringLiteral("fusion")) {
        if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
    }
    const bool dark = isDark();
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    VisualAppearance::shared().set(dark, system_.reduceMotion);
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
