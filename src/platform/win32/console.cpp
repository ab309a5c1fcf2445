#include "platform/console.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"

namespace tarvik::platform {

void PrepareConsoleProcess() {
  // The program's texts are UTF-8: the console shows them as such.
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
}

bool IsTerminal(std::FILE* stream) {
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0;
}

bool WriteText(std::FILE* stream, std::string_view utf8) {
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode))
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
  std::fflush(stream);  // what the stream still holds comes first
  const std::wstring text = Widen(utf8);
  for (std::size_t done = 0; done < text.size();) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 16384));
    if (!WriteConsoleW(h, text.data() + done, piece, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool AloneOnConsole() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void WaitForKey() {
  // The console's own input, even when standard input is redirected.
  const OwnedHandle in(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
  if (!in.valid()) return;
  FlushConsoleInputBuffer(in.get());  // a key typed before the notice was shown does not count
  INPUT_RECORD record;
  DWORD read = 0;
  while (ReadConsoleInputW(in.get(), &record, 1, &read) && read == 1)
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) break;
}

}  // namespace tarvik::platform
