// Modal message boxes are the system's own (MessageBoxW), with the style value passed unchanged,
// so they look and sound as every other message of the platform. A Yes/No box gets the Italian
// "Sì" whatever the language of the installed system, and cannot be dismissed without an answer.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/window_port.h"

namespace tarvik::app::window::win32 {

// Shows the box owned by `owner` (no owner: the system centres it on the screen) and waits for
// the answer. Texts are UTF-8; CR LF and lone CR or LF all break the line.
ui::Answer ShowMessageBox(HWND owner, const std::string& text, std::string_view title, int style);

}  // namespace tarvik::app::window::win32
