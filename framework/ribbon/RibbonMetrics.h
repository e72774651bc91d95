#pragma once

// The ribbon's fixed measures, in pixels.
namespace RibbonMetrics {

inline constexpr int kSmallHeight = 22;                     // a row of a panel
inline constexpr int kRows = 3;                             // small elements per column
inline constexpr int kContentHeight = kSmallHeight * kRows; // a large element
inline constexpr int kPanelMargin = 3;
inline constexpr int kCaptionHeight = 17;
inline constexpr int kPanelHeight = kPanelMargin + kContentHeight + 2 + kCaptionHeight + 1;
inline constexpr int kQuickAccessRowHeight = 26;
inline constexpr int kTabRowHeight = 24;
inline constexpr int kTabsBottom = kQuickAccessRowHeight + kTabRowHeight;
inline constexpr int kBodyHeight = kPanelHeight + 7;
inline constexpr int kSmallImage = 16;
inline constexpr int kLargeImage = 32;
inline constexpr int kMenuItemHeight = 40; // the main panel's column
inline constexpr int kDescribedWidth = 290;
inline constexpr int kMenuTextLeft = 44; // labels beside large images in menus

} // namespace RibbonMetrics
