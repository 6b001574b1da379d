#pragma once

#include <array>

namespace MurvelUI {

// The kit's table of spacings, sizes and window widths, in points. Views state their own numbers;
// the table is the shared reference they agree with.
struct MurvelMetrics {
    MurvelMetrics() = delete;

    // The spacing scale.
    static constexpr double spacingXS = 4;
    static constexpr double spacingS = 8;
    static constexpr double spacingM = 12;
    static constexpr double spacingL = 16;
    static constexpr double spacingXL = 24;

    // The search panel and its chrome.
    static constexpr double panelWidth = 368;
    static constexpr double panelPadding = 16;
    static constexpr double panelHeaderHeight = 32;
    static constexpr double panelControlHeight = 32;
    static constexpr double actionRowMinHeight = 36; // a panel action row and the shortcut keys
    static constexpr double panelCompactControlHeight = 28;
    static constexpr double panelFooterButtonSize = 32;
    static constexpr double panelCardPadding = 12;
    static constexpr double panelResultRowHeight = 56;
    static constexpr double panelCardRadius = 16;
    static constexpr double panelNoticeRadius = 12;
    static constexpr double panelEmptyStateHeight = 112;
    static constexpr double panelRowSpacing = 12;
    static constexpr double panelSectionSpacing = 16;
    static constexpr double panelAvatarSize = 40;
    static constexpr double panelRowRadius = 8;
    static constexpr double keyCapRadius = 4;
    static constexpr double keyCapSpacing = 4;
    static constexpr double panelInsetSpacing = 12;
    static constexpr double symbolColumnWidth = 20;

    // The welcome windows.
    static constexpr double preferencesWindowWidth = 560;
    static constexpr double welcomePadding = 24;
    static constexpr double welcomeWidth = 480;
    static constexpr double welcomeSpacing = 24;
    static constexpr double welcomeIconSize = 88;
    static constexpr double welcomeSectionSpacing = 40;
    static constexpr double welcomeTextSpacing = 8;
    static constexpr double welcomeBadgeSize = 20;
    static constexpr double welcomeButtonHeight = 32;
    static constexpr double welcomeCardMinHeight = 48;
    static constexpr double welcomeInset = 32;
    static constexpr double welcomeTopInset = 48;
    static constexpr double welcomeStepsHeightAllowance = 80; // fixed part of the welcome-steps height
    static constexpr double welcomeStepsRowHeight = 44;
    static constexpr double welcomeStepsSpacing = 12;
    static constexpr double welcomeStepsCardInset = 16;
    static constexpr double welcomeStepsButtonHeight = 28;
    static constexpr double welcomeStepsGap = 32;
    static constexpr double welcomeStepsWidth = 496;

    // The preferences windows.
    static constexpr double singlePanePreferencesWidth = 560;
    static constexpr double paneListWidth = 176;
    static constexpr double sidebarPreferencesWidth = 768;
    static constexpr double preferencesInset = 32;
    static constexpr double preferencesRowHeight = 44;
    static constexpr double preferencesControlHeight = 32;
    static constexpr double preferencesSectionSpacing = 40;
    static constexpr double preferencesPaneRowHeight = 28;

    // Every constant, in declaration order.
    static constexpr std::array<double, 52> all = {
        spacingXS,
        spacingS,
        spacingM,
        spacingL,
        spacingXL,
        panelWidth,
        panelPadding,
        panelHeaderHeight,
        panelControlHeight,
        actionRowMinHeight,
        panelCompactControlHeight,
        panelFooterButtonSize,
        panelCardPadding,
        panelResultRowHeight,
        panelCardRadius,
        panelNoticeRadius,
        panelEmptyStateHeight,
        panelRowSpacing,
        panelSectionSpacing,
        panelAvatarSize,
        panelRowRadius,
        keyCapRadius,
        keyCapSpacing,
        panelInsetSpacing,
        symbolColumnWidth,
        preferencesWindowWidth,
        welcomePadding,
        welcomeWidth,
        welcomeSpacing,
        welcomeIconSize,
        welcomeSectionSpacing,
        welcomeTextSpacing,
        welcomeBadgeSize,
        welcomeButtonHeight,
        welcomeCardMinHeight,
        welcomeInset,
        welcomeTopInset,
        welcomeStepsHeightAllowance,
        welcomeStepsRowHeight,
        welcomeStepsSpacing,
        welcomeStepsCardInset,
        welcomeStepsButtonHeight,
        welcomeStepsGap,
        welcomeStepsWidth,
        singlePanePreferencesWidth,
        paneListWidth,
        sidebarPreferencesWidth,
        preferencesInset,
        preferencesRowHeight,
        preferencesControlHeight,
        preferencesSectionSpacing,
        preferencesPaneRowHeight,
    };
};

} // namespace MurvelUI
