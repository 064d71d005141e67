#include "Dorvane/Visual/FilledHost.h"

#include <QPainter>
#include <QVBoxLayout>

#include "Dorvane/Visual/NativeGlassView.h"

namespace dorvane {

namespace {

class Fill final : public QWidget {
public:
    Fill(QWidget* view, AdaptiveColor background) : background_(background) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        if (view != nullptr) layout->addWidget(view);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        DesignTokens::repaintOnAppearanceChange(this);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), background_.resolved());
    }

private:
    AdaptiveColor background_;
};

}  // namespace

QWidget* filledHost(QWidget* view, const AdaptiveColor& background, std::optional<double> cornerRadius) {
    auto* host = new Fill(view, background);
    if (!cornerRadius) return host;
    auto* glass = new NativeGlassView(host, *cornerRadius, false, DesignTokens::NS::glassBackdrop);
    glass->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return glass;
}

const AdaptiveColor& clearFill() {
    static const AdaptiveColor clear{"Corvelle.clear", QColor(Qt::transparent), QColor(Qt::transparent)};
    return clear;
}

}  // namespace dorvane
