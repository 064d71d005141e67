#include "Dorvane/Visual/DesignTokens.h"

#include <cmath>

#include <QFontMetricsF>
#include <QWidget>

#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Visual/GlassGeometry.h"
#include "DorvaneCore/Visual/TransientNoticeLayout.h"

namespace dorvane {

static_assert(DesignTokens::revealDuration == glass::revealDuration);
static_assert(DesignTokens::noticeLifetime == TransientNoticeLayout::lifetimeSeconds);

namespace {

QColor white(double level, double alpha) { return QColor::fromRgbF(level, level, level, alpha); }
QColor rgb(int red, int green, int blue, double alpha = 1.0) {
    QColor color(red, green, blue);
    color.setAlphaF(alpha);
    return color;
}
AdaptiveColor same(const char* name, QColor color) { return AdaptiveColor{name, color, color}; }
// The declarative framework's primary colour (black in the light appearance, white in the dark
// one) at an opacity.
AdaptiveColor primary(const char* name, double opacity) { return AdaptiveColor{name, white(0, opacity), white(1, opacity)}; }

const QColor kAccent = rgb(0, 113, 227);

// The faces the text family has: Regular, Medium and Bold. A semibold asked of it would be
// matched to one of its neighbours by the font matcher; naming the face keeps the choice ours.
QFont::Weight faceWeight(FontWeight weight) {
    switch (weight) {
        case FontWeight::regular: return QFont::Normal;
        case FontWeight::medium: return QFont::Medium;
        case FontWeight::semibold: return QFont::Bold;
    }
    return QFont::Normal;
}

}  // namespace

QColor AdaptiveColor::resolved() const { return resolved(VisualAppearance::shared().dark()); }

AdaptiveColor AdaptiveColor::withOpacity(double opacity, const char* newName) const {
    QColor lighter = light;
    QColor darker = dark;
    lighter.setAlphaF(lighter.alphaF() * opacity);
    darker.setAlphaF(darker.alphaF() * opacity);
    return AdaptiveColor{newName, lighter, darker};
}

double DesignTokens::hairline(double scale) { return glass::hairlineWidth(scale); }

const QString& DesignTokens::textFamily() {
    static const QString family = QStringLiteral("Noto Sans CJK SC");
    return family;
}

QFont DesignTokens::font(double size, FontWeight weight) {
    QFont font(textFamily());
    font.setStyleStrategy(QFont::PreferAntialias);
    const double points = std::isfinite(size) && size > 0 ? size : fontBody;
    if (points == std::floor(points)) {
        font.setPixelSize(static_cast<int>(points));
    } else {
        // A point at 96 dpi is 96/72 pixels: N logical pixels are N × 72 / 96 points.
        font.setPointSizeF(points * 72.0 / 96.0);
    }
    font.setWeight(faceWeight(weight));
    return font;
}

QFont DesignTokens::keyFont(double size, FontWeight weight) {
    QFont key = font(size, weight);
    key.setFamilies({QStringLiteral("DejaVu Sans"), textFamily()});
    return key;
}

TextMeasurer DesignTokens::measurer() {
    return [](std::string_view text, const TextFont& textFont) {
        const QFontMetricsF metrics(font(textFont));
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
}

const std::array<QColor, 8>& DesignTokens::applicationIconColors() {
    static const std::array<QColor, 8> colors{rgb(0, 113, 227), rgb(52, 168, 83),  rgb(234, 134, 0),
                                              rgb(217, 48, 37),  rgb(142, 68, 173), rgb(0, 150, 160),
                                              rgb(96, 125, 139), rgb(194, 24, 91)};
    return colors;
}

void DesignTokens::repaintOnAppearanceChange(QWidget* widget) {
    QObject::connect(&VisualAppearance::shared(), &VisualAppearance::changed, widget,
                     [widget] { widget->update(); });
}

const AdaptiveColor DesignTokens::NS::glassBackdrop{"Corvelle.glassBackdrop", white(1, 0.06), white(0, 0.14)};
const AdaptiveColor DesignTokens::NS::legibilityShadow{"Corvelle.legibilityShadow", white(1, 0.7), white(0, 0.5)};
const AdaptiveColor DesignTokens::NS::surface{"Corvelle.surface", white(1, 0.88), rgb(22, 23, 27, 0.88)};
const AdaptiveColor DesignTokens::NS::glassTint{"Corvelle.glassTint", white(1, 0.97), rgb(22, 23, 27, 0.97)};
const AdaptiveColor DesignTokens::NS::surfaceElevated{"Corvelle.surfaceElevated", white(0.96, 0.94),
                                                      rgb(32, 34, 40, 0.94)};
const AdaptiveColor DesignTokens::NS::pedestalBg{"Corvelle.pedestalBg", white(0, 0.28), white(1, 0.28)};
const AdaptiveColor DesignTokens::NS::pedestalBorder{"Corvelle.pedestalBorder", white(0, 0.08), white(1, 0.08)};
const AdaptiveColor DesignTokens::NS::toolbarHairline{"Corvelle.toolbarHairline", white(0, 0.09), white(1, 0.15)};
const AdaptiveColor DesignTokens::NS::buttonNormal{"Corvelle.buttonNormal", white(0, 0.025), white(1, 0.025)};
const AdaptiveColor DesignTokens::NS::buttonNormalBorder{"Corvelle.buttonNormalBorder", white(0, 0.025),
                                                         white(1, 0.025)};
const AdaptiveColor DesignTokens::NS::buttonHighlight{"Corvelle.buttonHighlight", white(0, 0.16), white(1, 0.16)};
const AdaptiveColor DesignTokens::NS::buttonActive = same("Corvelle.buttonActive", rgb(0, 113, 227, 0.92));
const AdaptiveColor DesignTokens::NS::buttonActiveBorder = same("Corvelle.buttonActiveBorder", white(1, 0.32));
// The platform's label colours.
const AdaptiveColor DesignTokens::NS::textPrimary{"Corvelle.textPrimary", white(0, 0.85), white(1, 0.85)};
const AdaptiveColor DesignTokens::NS::textSecondary{"Corvelle.textSecondary", white(0, 0.8), white(1, 0.9)};
const AdaptiveColor DesignTokens::NS::textTertiary{"Corvelle.textTertiary", white(0, 0.26), white(1, 0.25)};

const AdaptiveColor& DesignTokens::Colors::surface = DesignTokens::NS::surface;
const AdaptiveColor& DesignTokens::Colors::surfaceElevated = DesignTokens::NS::surfaceElevated;
const AdaptiveColor DesignTokens::Colors::cardBg = primary("Corvelle.cardBg", 0.065);
const AdaptiveColor DesignTokens::Colors::cardBgHover = primary("Corvelle.cardBgHover", 0.12);
const AdaptiveColor DesignTokens::Colors::cardBorder = primary("Corvelle.cardBorder", 0.08);
const AdaptiveColor DesignTokens::Colors::cardBorderHighlight = primary("Corvelle.cardBorderHighlight", 0.16);
const AdaptiveColor DesignTokens::Colors::accent = same("Corvelle.accent", kAccent);
const AdaptiveColor DesignTokens::Colors::accentSubtle = same("Corvelle.accentSubtle", rgb(0, 113, 227, 0.24));
const AdaptiveColor DesignTokens::Colors::accentBorder = same("Corvelle.accentBorder", rgb(56, 189, 248));
const AdaptiveColor DesignTokens::Colors::accentFill = same("Corvelle.accentFill", rgb(0, 113, 227, 0.12));
const AdaptiveColor DesignTokens::Colors::card{"Corvelle.card", white(1, 1), white(1, 0.07)};
const AdaptiveColor DesignTokens::Colors::secondaryFill{"Corvelle.secondaryFill", white(0, 0.04), white(1, 0.06)};
const AdaptiveColor DesignTokens::Colors::secondaryFillPressed{"Corvelle.secondaryFillPressed", white(0, 0.09),
                                                               white(1, 0.12)};
// The thumb stands out of its track by as much as a selected row does out of its card.
const AdaptiveColor DesignTokens::Colors::segmentTrack{"Corvelle.segmentTrack", white(0, 0.14), white(1, 0.08)};
const AdaptiveColor DesignTokens::Colors::segmentThumb{"Corvelle.segmentThumb", white(1, 1), rgb(124, 124, 128)};
// The platform's window background.
const AdaptiveColor DesignTokens::Colors::pageBackground{"Corvelle.pageBackground", rgb(236, 236, 236),
                                                         rgb(50, 50, 50)};
const AdaptiveColor DesignTokens::Colors::separator = primary("Corvelle.separator", 0.08);
// The declarative framework's secondary colour.
const AdaptiveColor DesignTokens::Colors::icon{"Corvelle.icon", white(0, 0.5), white(1, 0.55)};
const AdaptiveColor DesignTokens::Colors::glyphInactive = primary("Corvelle.glyphInactive", 0.3);
const AdaptiveColor DesignTokens::Colors::textPrimary = primary("Corvelle.Colors.textPrimary", 1.0);
const AdaptiveColor DesignTokens::Colors::textSecondary = primary("Corvelle.Colors.textSecondary", 0.86);
const AdaptiveColor DesignTokens::Colors::textTertiary = primary("Corvelle.Colors.textTertiary", 0.45);
const AdaptiveColor DesignTokens::Colors::switchKnob{"Corvelle.switchKnob", white(1, 1), rgb(222, 222, 224)};
const AdaptiveColor DesignTokens::Colors::controlShadow{"Corvelle.controlShadow", white(0, 0.16), white(0, 0.3)};
const AdaptiveColor DesignTokens::Colors::warning{"Corvelle.warning", rgb(255, 149, 0), rgb(255, 159, 10)};
const AdaptiveColor DesignTokens::Colors::warningFill =
    DesignTokens::Colors::warning.withOpacity(0.1, "Corvelle.warningFill");
const AdaptiveColor DesignTokens::Colors::success{"Corvelle.success", rgb(52, 199, 89), rgb(48, 209, 88)};
const AdaptiveColor DesignTokens::Colors::switchTrackOff{"Corvelle.switchTrackOff", white(0, 0.45), white(1, 0.42)};
const AdaptiveColor DesignTokens::Colors::red{"Corvelle.red", rgb(255, 59, 48), rgb(255, 69, 58)};
const AdaptiveColor& DesignTokens::Colors::destructive = DesignTokens::Colors::red;
const AdaptiveColor DesignTokens::Colors::selectionFill{"Corvelle.selectionFill", rgb(0, 113, 227, 0.16),
                                                        rgb(0, 113, 227, 0.3)};
const AdaptiveColor DesignTokens::Colors::scrollThumb{"Corvelle.scrollThumb", white(0, 0.34), white(1, 0.38)};
const AdaptiveColor DesignTokens::Colors::focusRing{"Corvelle.focusRing", kAccent, rgb(64, 156, 255)};
const AdaptiveColor DesignTokens::Colors::sheetDim{"Corvelle.sheetDim", white(0, 0.2), white(0, 0.42)};
const AdaptiveColor DesignTokens::Colors::sheetEdge{"Corvelle.sheetEdge", white(0, 0.12), white(1, 0.14)};
const AdaptiveColor DesignTokens::Colors::runningIndicator =
    same("Corvelle.runningIndicator", QColor::fromRgbF(0.4F, 0.7F, 0.53F));

}  // namespace dorvane
