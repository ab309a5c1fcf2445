#include "app/window/win32/form1.h"

#include "app/window/form_design.h"
#include "app/window/form_texts.h"
#include "app/window/win32/control_ids.h"
#include "app/window/win32/dpi.h"
#include "app/window/win32/line_breaks.h"
#include "app/window/win32/message_box.h"
#include "platform/win32/wide.h"

namespace tarvik::app::window::win32 {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

// The design font first; the system maps it to its own equivalent where it is missing.
HFONT DesignFont(double point_size, UINT dpi) {
  return CreateFontW(-PointsToPixels(point_size, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                     L"MS Sans Serif");
}

void Place(HWND control, const TwipRect& r, UINT dpi) {
  SetWindowPos(control, nullptr, TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
               TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kFormClassName;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
}

std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return platform::Narrow(text);
}

void SetText(HWND control, const std::string& text) { SetWindowTextW(control, platform::Widen(text).c_str()); }

}  // namespace

Form1::Form1(HINSTANCE instance) {
  RegisterFormClass(instance, &Form1::WindowProc);
  // The size is set once the window knows the resolution of its monitor.
  CreateWindowExW(kFormExStyle, kFormClassName, platform::Widen(kCaption).c_str(), kFormStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
}

Form1::~Form1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (label1_font_ != nullptr) DeleteObject(label1_font_);
  if (control_font_ != nullptr) DeleteObject(control_font_);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  return form->Handle(message, wparam, lparam);
}

void Form1::CreateControls() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  auto make = [&](DWORD ex_style, const wchar_t* kind, const char* text, DWORD style, int id) {
    return CreateWindowExW(ex_style, kind, platform::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // Created in the tab order: txtDirectory, Label2, Command1, txtErrore, lblAvanzamento. Labels
  // take no focus, so the keyboard goes from the folder box to the button and on to the panel.
  Label1_ = make(0, L"STATIC", kLabel1Text, SS_LEFT | SS_NOPREFIX, 0);
  txtDirectory_ = make(WS_EX_CLIENTEDGE, L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kTxtDirectoryId);
  Label2_ = make(0, L"STATIC", kLabel2Text, SS_LEFT | SS_NOPREFIX, 0);
  Command1_ = make(0, L"BUTTON", kCommand1Text, WS_TABSTOP | BS_PUSHBUTTON, kCommand1Id);
  // Only the program writes into the error panel; the user may select and copy its text.
  txtErrore_ = make(WS_EX_CLIENTEDGE, L"EDIT", "",
                    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kTxtErroreId);
  lblAvanzamento_ = make(0, L"STATIC", kLblAvanzamentoText, SS_LEFT | SS_NOPREFIX, kLblAvanzamentoId);
  focus_ = txtDirectory_;
}

void Form1::LayOut(UINT dpi) {
  if (label1_font_ != nullptr) DeleteObject(label1_font_);
  if (control_font_ != nullptr) DeleteObject(control_font_);
  label1_font_ = DesignFont(kLabel1PointSize, dpi);
  control_font_ = DesignFont(kControlPointSize, dpi);
  SendMessageW(Label1_, WM_SETFONT, reinterpret_cast<WPARAM>(label1_font_), TRUE);
  for (HWND control : {Label2_, txtDirectory_, Command1_, lblAvanzamento_, txtErrore_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(control_font_), TRUE);
  }
  Place(Label1_, kLabel1, dpi);
  Place(Label2_, kLabel2, dpi);
  Place(txtDirectory_, kTxtDirectory, dpi);
  Place(Command1_, kCommand1, dpi);
  Place(lblAvanzamento_, kLblAvanzamento, dpi);
  Place(txtErrore_, kTxtErrore, dpi);
}

void Form1::Show(int show_command) {
  const UINT dpi = DpiOfWindow(hwnd_);
  LayOut(dpi);
  RECT client{0, 0, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
  const RECT frame = FrameAround(client, kFormStyle, kFormExStyle, dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  SetFocus(focus_);
}

LRESULT Form1::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCommand1Id && HIWORD(wparam) == BN_CLICKED) Command1Pressed();
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      // Keep the focused control across a switch to another program, as a dialog does.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused != nullptr && IsChild(hwnd_, focused)) focus_ = focused;
        return 0;
      }
      break;  // activation focuses the window, which hands the keyboard to focus_
    case WM_SETFOCUS:
      if (focus_ != nullptr && IsWindowVisible(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another resolution: the layout and fonts follow it, and the
      // system's suggested rectangle keeps the window under the pointer.
      LayOut(HIWORD(wparam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (running_ && !ended_) {
        close_requested_ = true;
        return 0;
      }
      EndProgram(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

bool Form1::PreTranslate(MSG& msg) {
  if (hwnd_ == nullptr) return false;
  // Enter, keypad Enter included, presses the focused button as it does in the system's dialogs.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == Command1_) {
    if (IsWindowEnabled(Command1_)) Command1Pressed();
    return true;
  }
  return IsDialogMessageW(hwnd_, &msg) != 0;
}

void Form1::Command1Pressed() {
  if (running_ || ended_ || !run_) return;
  running_ = true;
  run_();  // the run reports its own errors and never throws
  running_ = false;
  if (close_requested_ && !ended_) EndProgram(0);
}

void Form1::EndProgram(int exit_code) {
  if (ended_) return;
  ended_ = true;
  busy_ = false;
  ShowWindow(hwnd_, SW_HIDE);
  PostQuitMessage(exit_code);
}

std::string Form1::folder_text() { return TextOf(txtDirectory_); }

void Form1::set_folder_text(const std::string& text) { SetText(txtDirectory_, text); }

void Form1::set_error_text(const std::string& text) { SetText(txtErrore_, WithWindowsLineBreaks(text)); }

void Form1::show_error_panel(bool shown) { ShowWindow(txtErrore_, shown ? SW_SHOWNA : SW_HIDE); }

void Form1::enable_button(bool enabled) {
  // A disabled button that had the keyboard hands it on, so that Tab still works.
  if (!enabled && GetFocus() == Command1_) SendMessageW(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(Command1_, enabled ? TRUE : FALSE);
}

void Form1::set_progress_caption(const std::string& caption) { SetText(lblAvanzamento_, caption); }

void Form1::set_busy_pointer(bool busy) {
  busy_ = busy;
  // The run does not let the window handle events at once, so the pointer changes here.
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Form1::process_events() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The end of the program belongs to the main loop: put it back for it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

ui::Answer Form1::message_box(const std::string& text, std::string_view title, int style) {
  // Before the window is shown the box has no owner, and the system centres it on the screen.
  HWND owner = IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
  return ShowMessageBox(owner, text, title, style);
}

void Form1::unload() { EndProgram(0); }

}  // namespace tarvik::app::window::win32
