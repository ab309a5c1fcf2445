// The design of the main window in twips (1/1440 inch), and their conversion to pixels: 15 twips
// to a pixel at 96 dots per inch, scaled with the screen's resolution. Both windows, Qt's and the
// native Windows one, lay themselves out from this one table.
#pragma once

#include <cmath>

namespace tarvik::app::window {

struct TwipRect {
  int left, top, width, height;
};

inline constexpr int kClientWidth = 10275;
inline constexpr int kClientHeight = 7125;
inline constexpr TwipRect kLabel1{240, 240, 9855, 855};
inline constexpr TwipRect kLabel2{240, 1320, 2535, 255};
inline constexpr TwipRect kTxtDirectory{2880, 1320, 7095, 405};
inline constexpr TwipRect kCommand1{2880, 2040, 1935, 615};
inline constexpr TwipRect kLblAvanzamento{5160, 2040, 3015, 375};
inline constexpr TwipRect kTxtErrore{240, 3000, 9735, 3855};

// Point sizes: Label1's explanation, and the other controls.
inline constexpr double kLabel1PointSize = 9.75;
inline constexpr double kControlPointSize = 8.25;

inline int TwipsToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

// A font's height in pixels at `dpi` for its size in points (72 to the inch).
inline int PointsToPixels(double points, double dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

}  // namespace tarvik::app::window
