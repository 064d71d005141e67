#pragma once

#include <array>

#include <QColor>
#include <QSize>
#include <QFont>
#include <QString>

#include "DorvaneCore/Visual/TextMeasurer.h"

class QWidget;

namespace dorvane {

// A colour with one value for the light and one for the dark appearance, named
// "Corvelle.<token>". Resolved each time it is drawn, so views follow appearance changes
// without rebuilding anything.
struct AdaptiveColor {
    const char* name;
    QColor light;
    QColor dark;

    QColor resolved(bool darkAppearance) const { return darkAppearance ? dark : light; }
    // With the program's current appearance (VisualAppearance).
    QColor resolved() const;
    // The same colour with its alpha multiplied by `opacity`.
    AdaptiveColor withOpacity(double opacity, const char* newName) const;
};

// The one vocabulary of the program's look: metrics, radii, font sizes, durations,
// shadows and colours. Views take every value from here and never repeat one as a
// literal. Sizes are points, and a point is one logical pixel.
struct DesignTokens {
    static constexpr double radiusSm = 6;
    static constexpr double radiusMd = 10;
    static constexpr double radiusLg = 14;
    static constexpr double radiusXl = 14;
    static constexpr double radiusPill = 999;
    static constexpr double fontCaption = 11;
    static constexpr double fontBody = 13;
    static constexpr double fontEmphasis = 15;
    static constexpr double fontTitle = 20;
    static constexpr double selectedStroke = 2;
    static constexpr double glyphStroke = 1.5;
    static constexpr double controlHeight = 28;
    static constexpr int dropdownMaxRows = 8;
    static constexpr double dropdownMinWidth = 160;
    static constexpr float toolbarShadowOpacity = 0.18F;
    static constexpr double toolbarShadowRadius = 4;
    static constexpr double toolbarShadowOffsetY = -1.5;
    static constexpr double legibilityShadowRadius = 1.5;
    static constexpr double spacingXs = 4;
    static constexpr double spacingSm = 8;
    static constexpr double spacingMd = 12;
    static constexpr double spacingLg = 16;
    static constexpr double spacingXl = 20;

    // Buttons of the shared styles: padding beside the label, and the opacity of a
    // pressed primary fill and of a disabled button.
    static constexpr double buttonHorizontalPadding = 12;
    static constexpr double smallButtonHorizontalPadding = 8;
    static constexpr double smallControlHeight = 22;
    static constexpr double pressedPrimaryOpacity = 0.8;
    static constexpr double disabledOpacity = 0.45;

    // The shadow under a floating panel (notice, dropdown list): a blurred copy of its
    // shape, drawn into a margin around it.
    struct Shadow {
        double blurRadius;
        double offsetY;  // downwards on screen
        double opacity;
        int margin;      // room kept around the shape for the blur
    };
    static constexpr Shadow panelShadow{6, 2, 0.22, 10};
    // The shadow of a dropdown menu drawn inline in a preview.
    static constexpr Shadow previewMenuShadow{4, 0, 0.18, 6};
    // A sheet of the settings window: the rounding of its lower corners and the shadow it
    // casts on the dimmed window (Colors::sheetDim) behind it.
    static constexpr double sheetRadius = radiusLg;
    static constexpr Shadow sheetShadow{12, 4, 0.3, 28};
    // An alert hangs from its window like a sheet: this wide, its text this far from its
    // edges, and its buttons (side by side, sharing the width) this far under the text.
    static constexpr double alertWidth = 300;
    static constexpr double alertPadding = 20;
    static constexpr double alertTextSpacing = 6;
    static constexpr double alertButtonsGap = 18;

    // Switches and segmented pickers: the switch's track in its three control sizes, the
    // inset of its knob and of a segment's thumb, and how faint a pressed segment's title is.
    static constexpr QSize switchRegular{38, 22};
    static constexpr QSize switchSmall{32, 18};
    static constexpr QSize switchMini{26, 15};
    static constexpr double switchKnobInset = 2;
    static constexpr double segmentHeight = 24;
    static constexpr double segmentTrackRadius = 7;
    static constexpr double segmentThumbRadius = 5;
    static constexpr double segmentThumbInset = 2;
    static constexpr double pressedSegmentOpacity = 0.6;

    // The thin scroll bar over a scroll area's trailing edge: the strip it answers in, the
    // thumb's thickness at rest and under the pointer, its inset from the strip's ends and
    // side, and how long it stays after the content stopped scrolling (seconds).
    static constexpr double scrollBarWidth = 12;
    static constexpr double scrollThumbWidth = 6;
    static constexpr double scrollThumbHoverWidth = 8;
    static constexpr double scrollBarInset = 3;
    static constexpr double scrollBarLinger = 1.0;

    // Durations, in seconds: the glass's unfold, a notice's life and the settings window's
    // change of page; the ease-outs of a tile's hover and press looks.
    static constexpr double revealDuration = 0.2;
    static constexpr double noticeLifetime = 3;
    static constexpr double pageSwitchDuration = 0.2;
    static constexpr double hoverDuration = 0.12;
    static constexpr double pressDuration = 0.1;
    // The editors: cards re-flowing after a reorder (and a dragged card's image gliding
    // back), a section folding open or shut, the icon catalog expanding, and the wait
    // before the expanded catalog scrolls to the current icon.
    static constexpr double reorderDuration = 0.2;
    static constexpr double foldDuration = 0.16;
    static constexpr double expandDuration = 0.2;
    static constexpr double scrollToSelectionDelay = 0.06;

    // Application icons drawn as a lettered square: the share of the side that is corner
    // radius and letter, and the colours a name picks from.
    static constexpr double applicationIconCornerShare = 0.225;
    static constexpr double applicationIconLetterShare = 0.5;
    static const std::array<QColor, 8>& applicationIconColors();

    // One device pixel at a backing scale; a scale below 1 counts as 1.
    static double hairline(double scale);

    // The only way views make fonts. A size of N points is N logical pixels: whole sizes
    // through pixel sizes, fractional ones as points at the 96-dpi logical resolution of
    // the offscreen and X platforms. Text is set in Noto Sans CJK SC, whose Regular, Medium
    // and Bold faces draw the three weights (semibold takes the Bold face).
    static QFont font(double size, FontWeight weight = FontWeight::regular);
    static QFont font(const TextFont& textFont) { return font(textFont.pointSize, textFont.weight); }
    // A key combination ("⇧⌘4", a modifier's keycap, a shortcut's key text): DejaVu Sans
    // draws ⇧ ⌘ ⌥ ⌃ ⌫ and the arrows at the size of the key's letter and on its baseline,
    // which neither the CJK face nor a narrow monospaced face does; Chinese words fall back
    // to the text face.
    static QFont keyFont(double size, FontWeight weight = FontWeight::regular);
    static const QString& textFamily();
    // What the program sets for the whole application at start, and what widgets that set
    // no font of their own draw with: the body text.
    static QFont applicationFont() { return font(fontBody); }

    // The width of one line as the views draw it.
    static TextMeasurer measurer();

    // Colours of the window-level surfaces (panels, glass, the toolbar).
    struct NS {
        static const AdaptiveColor glassBackdrop;
        static const AdaptiveColor legibilityShadow;
        static const AdaptiveColor surface;
        static const AdaptiveColor surfaceElevated;
        static const AdaptiveColor pedestalBg;
        static const AdaptiveColor pedestalBorder;
        static const AdaptiveColor toolbarHairline;
        static const AdaptiveColor buttonNormal;
        static const AdaptiveColor buttonNormalBorder;
        static const AdaptiveColor buttonHighlight;
        static const AdaptiveColor buttonActive;
        static const AdaptiveColor buttonActiveBorder;
        static const AdaptiveColor textPrimary;
        static const AdaptiveColor textSecondary;
        static const AdaptiveColor textTertiary;
        // The fill of a glass surface here, where nothing blurs what lies behind a window:
        // `surface` made nearly opaque, so that text behind a panel never competes with
        // the panel's own content.
        static const AdaptiveColor glassTint;
    };

    // Colours of the content: settings pages, rows, cards, controls and text.
    struct Colors {
        static const AdaptiveColor& surface;
        static const AdaptiveColor& surfaceElevated;
        static const AdaptiveColor cardBg;
        static const AdaptiveColor cardBgHover;
        static const AdaptiveColor cardBorder;
        static const AdaptiveColor cardBorderHighlight;
        static const AdaptiveColor accent;
        static const AdaptiveColor accentSubtle;
        static const AdaptiveColor accentBorder;
        static const AdaptiveColor accentFill;
        static const AdaptiveColor card;
        static const AdaptiveColor secondaryFill;
        static const AdaptiveColor secondaryFillPressed;
        static const AdaptiveColor segmentTrack;
        static const AdaptiveColor segmentThumb;
        static const AdaptiveColor pageBackground;
        static const AdaptiveColor separator;
        static const AdaptiveColor icon;
        static const AdaptiveColor glyphInactive;
        static const AdaptiveColor textPrimary;
        static const AdaptiveColor textSecondary;
        static const AdaptiveColor textTertiary;
        // The knob of a switch and the off track under it: the off track stands out of a card
        // by a contrast of at least 3:1 in both appearances, so an off switch never reads as
        // an empty pill.
        static const AdaptiveColor switchKnob;
        static const AdaptiveColor switchTrackOff;
        // The small shadow under a switch's knob and a segment's thumb.
        static const AdaptiveColor controlShadow;
        // The platform's red (warnings), and the dot that marks a running application.
        static const AdaptiveColor red;
        // What deletes or removes: an alert's "删除" and "移除", a menu's "移除应用".
        static const AdaptiveColor& destructive;
        static const AdaptiveColor runningIndicator;
        // A missing permission (the warning mark and its pale fill) and a granted one.
        static const AdaptiveColor warning;
        static const AdaptiveColor warningFill;
        static const AdaptiveColor success;
        // Behind a selected row (the sidebar's page, the resolution preset in effect): strong
        // enough in the dark appearance to read at a glance.
        static const AdaptiveColor selectionFill;
        // The thumb of a thin scroll bar.
        static const AdaptiveColor scrollThumb;
        // The mark of the keyboard focus (a text field's edge, a launcher tile's ring): it
        // stands out of the page and of the field it surrounds by at least 3:1 in both
        // appearances, where the accent itself is too dark on the dark page.
        static const AdaptiveColor focusRing;
        // Laid over the settings window while a sheet is up, and the sheet's own edge.
        static const AdaptiveColor sheetDim;
        static const AdaptiveColor sheetEdge;
    };

    // Repaints `widget` whenever the appearance changes (its colours resolve anew).
    static void repaintOnAppearanceChange(QWidget* widget);
};

}  // namespace dorvane
