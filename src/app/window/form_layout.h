// The window's design table (form_design.h) as Qt rectangles.
#pragma once

#include <QRect>
#include <QSize>

#include "app/window/form_design.h"

namespace tarvik::app::window {

inline QRect ToPixels(const TwipRect& r, double dpi) {
  return QRect(TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
               TwipsToPixels(r.height, dpi));
}

inline QSize ClientSize(double dpi) {
  return QSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
}

}  // namespace tarvik::app::window
