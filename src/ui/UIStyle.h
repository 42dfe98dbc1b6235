#pragma once
// The look shared by every toolkit control: one flat palette and one system
// font family, sized in logical pixels so a "size 18" font is 18 points on the
// 320 x 480 screen whatever the desktop's DPI.

#include <QColor>
#include <QFont>

namespace UIStyle {

// Flat palette.
inline QColor tintColor() { return QColor(0, 122, 255); }          // buttons, selection marks
inline QColor barColor() { return QColor(248, 248, 250); }         // navigation bar, tab bar
inline QColor barSeparatorColor() { return QColor(188, 188, 194); }
inline QColor blackBarColor() { return QColor(34, 34, 38); }      // toolbars in black style
inline QColor groupBackgroundColor() { return QColor(239, 239, 244); }
inline QColor tableSeparatorColor() { return QColor(218, 218, 222); }
inline QColor cellSelectionColor() { return QColor(217, 217, 222); }
inline QColor secondaryTextColor() { return QColor(142, 142, 147); }
inline QColor disabledTextColor() { return QColor(190, 190, 196); }
inline QColor destructiveColor() { return QColor(255, 59, 48); }
inline QColor dimmingColor() { return QColor(0, 0, 0, 102); }

// The system font: DejaVu Sans stands in for the phone's system face.
QFont systemFont(qreal pixelSize, bool bold = false);

// Bar geometry.
constexpr int kNavigationBarHeight = 44;
constexpr int kTabBarHeight = 49;
constexpr int kToolbarHeight = 44;
constexpr int kStatusBarHeight = 20;

} // namespace UIStyle
