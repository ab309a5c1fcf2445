#include "app/window/win32/message_box.h"

#include "app/window/win32/line_breaks.h"
#include "platform/win32/wide.h"

namespace tarvik::app::window::win32 {

namespace {

constexpr UINT kButtonsMask = 0x7;

// The thread's message box is activated once, before it is first shown: its buttons are given
// their Italian captions then. The hook lives only until then. One box is open at a time.
HHOOK g_caption_hook = nullptr;
WNDPROC g_box_procedure = nullptr;

// A Yes/No box cannot be dismissed without an answer: Escape (IDCANCEL) and the close button do
// nothing, as in the system's own Yes/No boxes, whichever system implementation runs.
LRESULT CALLBACK RefuseDismissal(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) return 0;
  if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE) return 0;
  if (message == WM_CLOSE) return 0;
  return CallWindowProcW(g_box_procedure, box, message, wparam, lparam);
}

LRESULT CALLBACK SetItalianCaptions(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wparam);
    SetDlgItemTextW(box, IDYES, L"&S\u00EC");
    SetDlgItemTextW(box, IDNO, L"&No");
    g_box_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseDismissal)));
    HHOOK hook = g_caption_hook;
    g_caption_hook = nullptr;
    UnhookWindowsHookEx(hook);
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  return CallNextHookEx(g_caption_hook, code, wparam, lparam);
}

}  // namespace

ui::Answer ShowMessageBox(HWND owner, const std::string& text, std::string_view title, int style) {
  const auto flags = static_cast<UINT>(style);
  const bool yes_no = (flags & kButtonsMask) == MB_YESNO;
  if (yes_no) g_caption_hook = SetWindowsHookExW(WH_CBT, SetItalianCaptions, nullptr, GetCurrentThreadId());
  const std::wstring shown = platform::Widen(WithWindowsLineBreaks(text));
  const int chosen = MessageBoxW(owner, shown.c_str(), platform::Widen(title).c_str(), flags);
  if (g_caption_hook != nullptr) {
    // The box never opened (MessageBoxW failed): the hook must not catch the next window.
    UnhookWindowsHookEx(g_caption_hook);
    g_caption_hook = nullptr;
  }
  if (!yes_no) return ui::Answer::Ok;
  // A Yes/No box has no Cancel: Escape and the close button do nothing, so only the two answers
  // come back (a box that failed to open counts as No).
  return chosen == IDYES ? ui::Answer::Yes : ui::Answer::No;
}

}  // namespace tarvik::app::window::win32
