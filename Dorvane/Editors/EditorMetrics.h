#pragma once

namespace dorvane {

// The editors' layout, in points; colours, radii, fonts and durations come from DesignTokens.
struct EditorMetrics {
    // The shortcut editor sheet.
    static constexpr int editorWidth = 460;
    static constexpr int headerSpacing = 14;
    static constexpr int sheetSidePadding = 20;
    static constexpr int headerVerticalPadding = 14;
    static constexpr int closeButtonFrame = 28;
    static constexpr double closeSymbolSize = 18;
    static constexpr int bodySpacing = 16;
    static constexpr int bodyVerticalPadding = 16;
    static constexpr int nameRowSpacing = 10;
    static constexpr int nameRowPadding = 4;
    static constexpr int labelWidth = 50;
    static constexpr int keySectionSpacing = 12;
    static constexpr int modeSegmentWidth = 160;
    static constexpr int recorderSpacing = 8;
    static constexpr int recorderHeight = 52;
    static constexpr int keycapSpacing = 8;
    static constexpr int keycapHeight = 32;
    static constexpr int keycapLabelSpacing = 4;
    static constexpr int modifierSpacing = 6;
    static constexpr int keyRowTopPadding = 2;
    static constexpr int keyRowSpacing = 6;
    static constexpr int chipHorizontalPadding = 8;
    static constexpr int chipVerticalPadding = 3;
    static constexpr double unsetKeyOpacity = 0.7;
    static constexpr int iconRowSpacing = 10;
    static constexpr int iconSymbolWidth = 24;
    static constexpr int largeHit = 44;
    static constexpr int footerSpacing = 8;
    static constexpr int errorRowSpacing = 6;

    // The icon picker.
    static constexpr int pickerSpacing = 10;
    static constexpr int searchBarSpacing = 8;
    static constexpr int searchBarHorizontalPadding = 9;
    static constexpr int searchBarVerticalPadding = 6;
    static constexpr int emptyResultsSpacing = 6;
    static constexpr int emptyResultsHeight = 90;
    static constexpr double emptyResultsSymbolSize = 20;
    static constexpr int iconColumns = 6;
    static constexpr int iconGridSpacing = 6;
    static constexpr int iconCellHeight = 46;
    static constexpr int iconCellSpacing = 2;
    static constexpr int iconSymbolHeight = 20;
    static constexpr int iconGridMaximumHeight = 260;
    static constexpr int iconGridScrollPadding = 2;

    // The installed-application picker.
    static constexpr int pickerSheetWidth = 440;
    static constexpr int pickerSheetHeight = 480;
    static constexpr int pickerSheetSpacing = 14;
    static constexpr int pickerSheetPadding = 20;
    static constexpr int applicationRowSpacing = 12;
    static constexpr int applicationRowPadding = 8;
    static constexpr int applicationListSpacing = 4;
    static constexpr int applicationIconSize = 32;
    static constexpr int spinnerSize = 24;
};

}  // namespace dorvane
