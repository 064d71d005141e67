#include "Dorvane/QtHost/TrayStatusBar.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "Dorvane/QtHost/QtApplicationPlatform.h"

namespace dorvane::qthost {

namespace {

QIcon iconFor(const std::string& image) {
    const auto path = QtApplicationPlatform::imagePath(image);
    if (QFile::exists(path)) return QIcon(path);
    // The symbol names stand for the desktop's display icon.
    return QIcon::fromTheme(QStringLiteral("video-display"));
}

}  // namespace

TrayStatusBar::TrayStatusBar(statusbar::StatusBar& host, bool useTray)
    : host_(host), handler_(std::make_shared<ClickHandler>()) {
    if (!useTray || !QSystemTrayIcon::isSystemTrayAvailable()) return;
    menu_ = std::make_unique<QMenu>();
    tray_ = std::make_unique<QSystemTrayIcon>();
    tray_->setContextMenu(menu_.get());
    QObject::connect(menu_.get(), &QMenu::aboutToShow, [this] {
        if (onMenuWillOpen) onMenuWillOpen();
    });
}

TrayStatusBar::~TrayStatusBar() {
    if (tray_) tray_->hide();
}

void TrayStatusBar::publish(const statusbar::StatusItem& item) {
    // The tray first: a host that cannot take the item now does not hold it back.
    if (tray_) {
        tray_->setIcon(iconFor(item.image));
        tray_->setToolTip(QString::fromStdString(item.tooltip));
        rebuildMenu(item);
        tray_->show();
    }
    host_.publish(item);
}

void TrayStatusBar::rebuildMenu(const statusbar::StatusItem& item) {
    menu_->clear();
    std::weak_ptr<ClickHandler> weak = handler_;
    for (const auto& entry : item.menu) {
        if (entry.separator) {
            menu_->addSeparator();
            continue;
        }
        QAction* action = menu_->addAction(QString::fromStdString(entry.title));
        action->setEnabled(entry.enabled);
        action->setCheckable(entry.checked);
        action->setChecked(entry.checked);
        QObject::connect(action, &QAction::triggered, [weak, title = entry.title] {
            if (const auto handler = weak.lock(); handler && *handler) (*handler)(title);
        });
    }
}

void TrayStatusBar::remove() {
    if (tray_) tray_->hide();
    try {
        host_.remove();
    } catch (const std::exception&) {
        // The host drops the item once it sees this process has ended.
    }
}

dispatch::Observation TrayStatusBar::observeClicks(ClickHandler handler) {
    *handler_ = handler;
    auto hostObservation = std::make_shared<dispatch::Observation>(host_.observeClicks(std::move(handler)));
    std::weak_ptr<ClickHandler> weak = handler_;
    return dispatch::Observation([weak, hostObservation] {
        hostObservation->cancel();
        if (const auto handler = weak.lock()) *handler = nullptr;
    });
}

}  // namespace dorvane::qthost
