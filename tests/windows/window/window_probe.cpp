// window_probe: reads the export window and the system's message boxes from outside, as any other
// Windows program can (window text, styles, position), so the window tests check what the user
// sees without pixels and without a hook inside the program.
//
//   window_probe form SECONDS        the visible main window's state, as key=value lines
//   window_probe box TITLE SECONDS   the message box with this title: text, buttons, default
//   window_probe gone SECONDS        waits until no main window is left
//
// Values are UTF-8 with "\" "\r" "\n" escaped; exit code 3 when the window does not turn up in
// time.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/window/win32/control_ids.h"
#include "platform/win32/wide.h"

namespace {

namespace win = tarvik::app::window::win32;

constexpr wchar_t kFormCaption[] = L"Importa dati Tarvik - prima parte";
constexpr wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT is carried across processes by the system; GetWindowText is not for controls.
  const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (char c : tarvik::platform::Narrow(text)) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

void Print(const char* key, const std::string& value) { std::printf("%s=%s\n", key, value.c_str()); }

template <typename Find>
HWND WaitFor(Find find, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (HWND found = find()) return found;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(50);
  }
}

HWND FindForm() {
  HWND form = FindWindowW(win::kFormClassName, kFormCaption);
  return form != nullptr && IsWindowVisible(form) ? form : nullptr;
}

struct BoxSearch {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  wchar_t kind[16] = {};
  GetClassNameW(hwnd, kind, 16);
  if (std::wcscmp(kind, kDialogClass) == 0 && IsWindowVisible(hwnd) && TextOf(hwnd) == search->title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

int ShowForm(double seconds) {
  HWND form = WaitFor(FindForm, seconds);
  if (form == nullptr) {
    std::fprintf(stderr, "window_probe: nessuna finestra principale\n");
    return 3;
  }
  HWND folder = GetDlgItem(form, win::kTxtDirectoryId);
  HWND button = GetDlgItem(form, win::kCommand1Id);
  HWND panel = GetDlgItem(form, win::kTxtErroreId);
  HWND progress = GetDlgItem(form, win::kLblAvanzamentoId);
  RECT client{};
  GetClientRect(form, &client);
  const LONG_PTR panel_style = GetWindowLongPtrW(panel, GWL_STYLE);
  Print("caption", Escaped(TextOf(form)));
  Print("client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
  Print("folder", Escaped(TextOf(folder)));
  Print("button", IsWindowEnabled(button) ? "enabled" : "disabled");
  Print("panel", IsWindowVisible(panel) ? "visible" : "hidden");
  Print("panel_kind", std::string((panel_style & ES_MULTILINE) ? "multiline" : "single") +
                          ((panel_style & ES_READONLY) ? ",readonly" : "") +
                          ((panel_style & WS_VSCROLL) ? ",vscroll" : ""));
  Print("progress", Escaped(TextOf(progress)));
  // Where a click presses "Procedi", in screen coordinates.
  RECT b{};
  GetWindowRect(button, &b);
  Print("button_centre", std::to_string((b.left + b.right) / 2) + "," + std::to_string((b.top + b.bottom) / 2));
  Print("panel_text", Escaped(TextOf(panel)));
  return 0;
}

int ShowBox(const std::wstring& title, double seconds) {
  BoxSearch search{title};
  HWND box = WaitFor(
      [&] {
        EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
        return search.found;
      },
      seconds);
  if (box == nullptr) {
    std::fprintf(stderr, "window_probe: nessun messaggio con quel titolo\n");
    return 3;
  }
  Print("title", Escaped(TextOf(box)));
  Print("text", Escaped(TextOf(GetDlgItem(box, kMessageBoxTextId))));
  const struct {
    int id;
    const char* name;
  } kButtons[] = {{IDOK, "ok"}, {IDCANCEL, "cancel"}, {IDYES, "yes"}, {IDNO, "no"}};
  std::string buttons;
  for (const auto& b : kButtons) {
    HWND button = GetDlgItem(box, b.id);
    if (button == nullptr || !IsWindowVisible(button)) continue;
    if (!buttons.empty()) buttons += ",";
    buttons += std::string(b.name) + ":" + Escaped(TextOf(button));
    if ((GetWindowLongPtrW(button, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON) Print("default", b.name);
  }
  Print("buttons", buttons);
  Print("owned", GetWindow(box, GW_OWNER) != nullptr ? "yes" : "no");
  // How far the box's centre is from the centre of the screen's work area.
  RECT r{}, work{};
  GetWindowRect(box, &r);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const long dx = (r.left + r.right) / 2 - (work.left + work.right) / 2;
  const long dy = (r.top + r.bottom) / 2 - (work.top + work.bottom) / 2;
  Print("centre_offset", std::to_string(dx) + "," + std::to_string(dy));
  return 0;
}

int WaitGone(double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (FindWindowW(win::kFormClassName, nullptr) != nullptr) {
    if (GetTickCount64() >= end) {
      std::fprintf(stderr, "window_probe: la finestra principale è ancora aperta\n");
      return 3;
    }
    Sleep(50);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"form" && argc == 3) return ShowForm(_wtof(argv[2]));
  if (command == L"box" && argc == 4) return ShowBox(argv[2], _wtof(argv[3]));
  if (command == L"gone" && argc == 3) return WaitGone(_wtof(argv[2]));
  std::fprintf(stderr, "uso: window_probe form SECONDI | box TITOLO SECONDI | gone SECONDI\n");
  return 64;
}
