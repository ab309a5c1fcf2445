#include "platform/console.h"

#include <io.h>
#include <windows.h>

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

}  // namespace tarvik::platform
