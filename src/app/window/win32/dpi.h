// The monitor resolution a window is shown at, and the frame around a client area at that
// resolution. The per-monitor calls exist from Windows 10 1607; older systems get the screen's
// one resolution.
#pragma once

#include <windows.h>

namespace tarvik::app::window::win32 {

UINT DpiOfWindow(HWND hwnd);
// The window rectangle whose client area is `client` for the window's styles at `dpi`.
RECT FrameAround(RECT client, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace tarvik::app::window::win32
