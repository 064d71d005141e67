#pragma once

namespace dorvane {

// The settings window's layout, in points: its sidebar, its pages and the rows and cards
// every page is made of. Colours, radii and fonts come from DesignTokens.
struct SettingsMetrics {
    static constexpr int windowWidth = 900;
    static constexpr int windowHeight = 720;
    static constexpr int minimumWidth = 640;
    static constexpr int minimumHeight = 500;

    static constexpr int sidebarWidth = 160;
    static constexpr int separatorWidth = 1;
    // The sidebar starts where the pages' titles do: the window manager draws the title bar.
    static constexpr int sidebarTopPadding = 24;
    static constexpr int sidebarSidePadding = 8;
    static constexpr int sidebarSpacing = 6;
    static constexpr int appIconSize = 48;
    static constexpr int headerSidePadding = 10;
    static constexpr int headerBottomPadding = 12;
    static constexpr double sidebarSymbolSize = 15;
    static constexpr int sidebarSymbolWidth = 20;
    static constexpr int sidebarRowSpacing = 9;
    static constexpr int sidebarRowVerticalPadding = 8;
    static constexpr int sidebarRowHorizontalPadding = 10;
    static constexpr int warningSpacing = 7;
    static constexpr int warningVerticalPadding = 7;
    static constexpr int warningBottomPadding = 4;
    static constexpr int versionBottomPadding = 14;

    static constexpr int pagePadding = 24;
    static constexpr int pageSpacing = 20;
    static constexpr int headingSpacing = 10;      // heading over its card (general page)
    static constexpr int sectionSpacing = 8;       // heading over its card (connection page)
    static constexpr int sectionStackSpacing = 12;  // between the connection page's sections
    static constexpr int segmentedPickerWidth = 240;

    static constexpr double rowSymbolSize = 15;
    static constexpr int rowIconFrame = 28;
    static constexpr int rowSpacing = 12;
    static constexpr int rowHorizontalPadding = 14;
    static constexpr int rowVerticalPadding = 10;
    static constexpr int themeRowVerticalPadding = 12;
    static constexpr int dropdownRowVerticalPadding = 8;
    // Dividers start under the row titles: padding, icon and spacing.
    static constexpr int dividerIndent = rowHorizontalPadding + rowIconFrame + rowSpacing;
    static constexpr int dividerThickness = 1;
};

}  // namespace dorvane
