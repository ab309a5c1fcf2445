// console_start: starts a console program the way Explorer does (a console of its own) or the way a
// Prompt does (sharing the starter's console), for the Windows end-to-end run, and says what the
// program did on that console.
//
//   console_start own|shared PROGRAM [ARGUMENTS...]
//
// Waits up to five seconds for the program to end. If it is still running, it prints the
// console's text, presses a key on that console and waits again. Prints key=value lines:
// waited (yes when it was still running after five seconds), screen= once per line of the
// console, ended (yes when it ended at last) and exit (its exit code). Under Wine a console works
// only with a display: run it on a virtual one.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/wide.h"

namespace {

using tarvik::platform::Narrow;
using tarvik::platform::Widen;

std::wstring Quoted(const std::string& argument) { return L"\"" + Widen(argument) + L"\""; }

// The text of the console the caller is attached to, one string per non-blank row.
void PrintScreen() {
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (out == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(out, &info)) {
    std::puts("screen=(illeggibile)");
    return;
  }
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring line(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(out, line.data(), static_cast<DWORD>(line.size()), COORD{0, row}, &read);
    line.resize(read);
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\0')) line.pop_back();
    std::printf("screen=%s\n", Narrow(line).c_str());
  }
  CloseHandle(out);
}

// A key pressed and let go on the console the caller is attached to.
void PressKey() {
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  INPUT_RECORD records[2]{};
  for (int i = 0; i < 2; ++i) {
    records[i].EventType = KEY_EVENT;
    records[i].Event.KeyEvent.bKeyDown = i == 0;
    records[i].Event.KeyEvent.wRepeatCount = 1;
    records[i].Event.KeyEvent.wVirtualKeyCode = VK_SPACE;
    records[i].Event.KeyEvent.uChar.UnicodeChar = L' ';
  }
  DWORD written = 0;
  WriteConsoleInputW(in, records, 2, &written);
  CloseHandle(in);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: console_start own|shared PROGRAMMA [ARGOMENTI...]\n");
    return 64;
  }
  const bool own = std::string(argv[1]) == "own";
  std::wstring command_line = Quoted(argv[2]);
  for (int i = 3; i < argc; ++i) command_line += L" " + Quoted(argv[i]);
  // The console to share is one of this starter's own, made afresh: whatever it was started with
  // (Wine gives a program started from a script a console no one can read) is let go.
  if (!own) {
    FreeConsole();
    if (!AllocConsole()) {
      std::fprintf(stderr, "console_start: impossibile creare una console\n");
      return 1;
    }
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, own ? CREATE_NEW_CONSOLE : 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "console_start: impossibile avviare %s\n", argv[2]);
    return 1;
  }
  const bool waited = WaitForSingleObject(process.hProcess, 5000) == WAIT_TIMEOUT;
  std::printf("waited=%s\n", waited ? "yes" : "no");
  if (waited) {
    // Its console, to read and to type on.
    if (own) {
      FreeConsole();
      AttachConsole(process.dwProcessId);
    }
    PrintScreen();
    PressKey();
  }
  const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("ended=%s\nexit=%lu\n", ended ? "yes" : "no", static_cast<unsigned long>(code));
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
