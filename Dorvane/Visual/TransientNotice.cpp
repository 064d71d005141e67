#include "Dorvane/Visual/TransientNotice.h"

#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/NoticeContent.h"

namespace dorvane {

using Layout = TransientNoticeLayout;

TransientNotice::TransientNotice(Services services) : services_(std::move(services)), lifetime_(services_.mainQueue) {
    if (!services_.measure) services_.measure = DesignTokens::measurer();
    if (!services_.screenSpace) services_.screenSpace = [] { return qthost::qtScreenSpace(); };
}

TransientNotice::~TransientNotice() {
    lifetime_.cancel();
    delete panel_.data();
}

void TransientNotice::show(const std::string& title, const std::optional<std::string>& detail, geometry::Rect area) {
    if (!Layout::accepts(area)) return;
    lifetime_.cancel();
    NoticeText text(title, detail);
    const double width = Layout::width(text, area.width, services_.measure);
    auto* content = new NoticeContent(text);
    const double height = Layout::height(content->fittingHeight(width), area.height);

    if (!panel_) {
        panel_ = new GlassPanel(QString::fromUtf8(panelTitle), GlassPanel::statusLevel, GlassPanel::Input::passesThrough);
        panel_->setShadow(DesignTokens::panelShadow);
    }
    panel_->setGlass(new NativeGlassView(content, Layout::cornerRadius, false, DesignTokens::NS::glassBackdrop));
    const geometry::Rect frame = Layout::frame(area, width, height);
    panel_->setGlassFrame(qthost::pixelFrame(qthost::qtFrame(frame, services_.screenSpace())));
    panel_->present();

    if (services_.announce) services_.announce(text.announcement());
    lifetime_.restart([notice = QPointer<TransientNotice>(this)] {
        if (notice) notice->dismiss();
    });
}

void TransientNotice::dismiss() {
    lifetime_.cancel();
    if (!panel_) return;
    panel_->hide();
    panel_->setGlass(nullptr);
}

std::optional<NoticeText> TransientNotice::shownText() const {
    if (!panel_ || !panel_->isVisible() || panel_->glass() == nullptr) return std::nullopt;
    const auto* content = dynamic_cast<const NoticeContent*>(panel_->glass()->embedded());
    if (content == nullptr) return std::nullopt;
    return content->text();
}

}  // namespace dorvane
