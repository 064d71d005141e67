#pragma once

namespace dorvane {

// The quick-actions page's layout, in points: its sections, the operation cards and their
// grip, the sheets it opens and the application cards. Colours, radii, fonts and
// durations come from DesignTokens.
struct QuickActionsMetrics {
    static constexpr int blockSpacing = 14;      // between the layout card, the operations and the applications
    static constexpr int sectionSpacing = 10;    // the operations' header over the grid
    static constexpr int headerSpacing = 8;
    static constexpr int gridSpacing = 8;        // between columns and between rows
    static constexpr int gridColumns = 2;
    static constexpr int gridPadding = 1;

    // An operation card.
    static constexpr int cardSpacing = 4;
    static constexpr int cardHorizontalPadding = 8;
    static constexpr int cardVerticalPadding = 5;
    static constexpr int cardMinimumHeight = 42;
    static constexpr double unmeasuredCardWidth = 240;
    static constexpr double unmeasuredCardHeight = 42;
    static constexpr int gripWidth = 18;
    static constexpr int gripHeight = 32;
    static constexpr int headingSpacing = 8;
    static constexpr int headingMinimumHeight = 32;
    static constexpr int actionIconWidth = 24;
    static constexpr int actionIconHeight = 26;
    static constexpr int titleSpacing = 1;
    static constexpr int switchFrame = 32;
    static constexpr int pencilWidth = 22;
    static constexpr int pencilHeight = 32;

    // The grip's six dots.
    static constexpr double dotDiameter = 2.5;
    static constexpr double dotColumns[2] = {-3.75, 1.25};
    static constexpr double dotRows[3] = {-6.25, -1.25, 3.75};

    // The icon sheet of a built-in action.
    static constexpr int iconSheetWidth = 460;
    static constexpr int iconSheetSpacing = 16;
    static constexpr int iconSheetPadding = 20;

    // The recommended-shortcut sheet.
    static constexpr int presetSheetWidth = 440;
    static constexpr int presetSheetHeight = 480;
    static constexpr int presetHeaderTop = 18;
    static constexpr int presetHeaderBottom = 12;
    static constexpr int presetListSpacing = 8;
    static constexpr int presetListPadding = 20;
    static constexpr int presetEmptyHeight = 180;
    static constexpr int presetFooterVerticalPadding = 12;
    static constexpr int presetFooterSpacing = 8;  // the platform's default between buttons
    static constexpr int presetRowSpacing = 12;
    static constexpr int presetRowHorizontalPadding = 12;
    static constexpr int presetRowVerticalPadding = 8;
    static constexpr int presetIconFrame = 32;
    static constexpr int presetTextSpacing = 2;
    static constexpr int addedHorizontalPadding = 8;
    static constexpr int addedVerticalPadding = 4;
    static constexpr int closeCircle = 28;

    // The per-application shortcut lists.
    static constexpr int applicationCardSpacing = 8;
    static constexpr int applicationCardPadding = 10;
    static constexpr int applicationHeaderSpacing = 10;
    static constexpr int applicationIconSize = 28;
    static constexpr int applicationButtonWidth = 24;
    static constexpr int applicationButtonHeight = 28;
    static constexpr int chipMinimumHeight = 24;
    static constexpr double disabledChipOpacity = 0.5;
};

}  // namespace dorvane
