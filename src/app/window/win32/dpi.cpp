#include "app/window/win32/dpi.h"

namespace tarvik::app::window::win32 {

namespace {

template <typename Function>
Function UserCall(const char* name) {
  // The functions are looked up at run time, so that the program still starts where they are
  // missing.
  FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

UINT DpiOfWindow(HWND hwnd) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = UserCall<GetDpiForWindowCall>("GetDpiForWindow");
  if (get_dpi_for_window != nullptr) {
    const UINT dpi = get_dpi_for_window(hwnd);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

RECT FrameAround(RECT client, DWORD style, DWORD ex_style, UINT dpi) {
  using AdjustForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = UserCall<AdjustForDpiCall>("AdjustWindowRectExForDpi");
  RECT frame = client;
  if (adjust_for_dpi == nullptr || !adjust_for_dpi(&frame, style, FALSE, ex_style, dpi)) {
    frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  }
  return frame;
}

}  // namespace tarvik::app::window::win32
