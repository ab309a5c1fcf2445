// Modal message boxes with the style values of the old window toolkit: the low digit chooses the
// buttons (0 OK, 4 Yes and No), 16/32/48/64 the icon, 256 makes the second button the default.
#pragma once

#include <string>
#include <string_view>

#include "ui/window_port.h"

class QWidget;

namespace tarvik::app::window {

// Shows the box over `parent` and waits for the answer. Texts are UTF-8; CR LF and lone LF both
// break the line.
ui::Answer ShowMessageBox(QWidget* parent, const std::string& text, std::string_view title, int style);

}  // namespace tarvik::app::window
