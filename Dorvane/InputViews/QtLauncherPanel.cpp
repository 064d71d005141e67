#include "Dorvane/InputViews/QtLauncherPanel.h"

#include <QGuiApplication>
#include <QVBoxLayout>

#include "Dorvane/InputViews/AppLauncherView.h"
#include "Dorvane/QtHostBase/OwnWindowProperties.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Visual/FilledHost.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"

namespace dorvane {

namespace {

// Nothing behind the view but the glass.
const AdaptiveColor kClear{"Corvelle.clear", QColor(Qt::transparent), QColor(Qt::transparent)};

}  // namespace

QtLauncherPanel::QtLauncherPanel(input::LauncherModel& model, const geometry::Rect& frame, Services services)
    : services_(std::move(services)),
      // Over other windows and without a shadow of the window system's: the glass draws its own edge.
      window_(std::make_unique<OverlayFloatingPanel>(nullptr, Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)),
      view_(new AppLauncherView(model, AppLauncherView::Services{services_.timing, {}})),
      glass_(static_cast<NativeGlassView*>(filledHost(view_, kClear, input::launcherCornerRadius))) {
    if (!services_.screenSpace) services_.screenSpace = [] { return qthost::qtScreenSpace(); };
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(glass_);
    setFrame(frame);
}

QtLauncherPanel::~QtLauncherPanel() = default;

input::LauncherPanelFactory QtLauncherPanel::factory(Services services) {
    return [services = std::move(services)](input::LauncherModel& model, const geometry::Rect& frame) {
        return std::make_unique<QtLauncherPanel>(model, frame, services);
    };
}

bool QtLauncherPanel::isVisible() const { return window_->isVisible(); }

void QtLauncherPanel::setFrame(const geometry::Rect& frame) {
    frame_ = frame;
    window_->setGeometry(qthost::pixelFrame(qthost::qtFrame(frame, services_.screenSpace())));
    window_->update();
}

void QtLauncherPanel::attach(ToolbarSide side) { glass_->attach(side, false); }

void QtLauncherPanel::present() {
    OverlayFloatingPanel& window = *window_;
    window.setAttribute(Qt::WA_TranslucentBackground);
    // Key without making the program the frontmost application, as a non-activating panel.
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.setWindowTitle(QString::fromUtf8(input::launcherPanelTitle.data(),
                                            static_cast<qsizetype>(input::launcherPanelTitle.size())));
    window.setProperty(qthost::kWindowLevelProperty, floatingLevel);
    // Every workspace shows it: this platform has only the one.
    window.show();
    // The offscreen platform keeps no stacking order and says so on every raise.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) window.raise();
    // Key at once, so that the keys typed next reach it.
    if (services_.makeKey) {
        services_.makeKey(window);
    } else {
        window.activateWindow();
    }
    if (QWidget* focused = window.focusWidget()) focused->clearFocus();
    window.setFocus(Qt::OtherFocusReason);
}

void QtLauncherPanel::reveal(ToolbarSide side) { glass_->reveal(side); }

void QtLauncherPanel::orderOut() { window_->hide(); }

}  // namespace dorvane
