// Holds an archive the way another program would, for the Windows end-to-end run: "write" opens
// it for reading and writing as the Jet engine of the program that owns it does, "export" takes
// the hold of a running export. Creates READY once it holds the file, then keeps it SECONDS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/archive_file.h"
#include "platform/win32/wide.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "uso: archive-holder write|export ARCHIVIO PRONTO SECONDI\n");
    return 64;
  }
  const std::string mode = argv[1];
  const std::string path = argv[2];
  HANDLE writer = INVALID_HANDLE_VALUE;
  std::unique_ptr<tarvik::platform::ArchiveLock> lock;
  if (mode == "write") {
    writer = CreateFileW(tarvik::platform::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writer == INVALID_HANDLE_VALUE) return 1;
  } else {
    tarvik::platform::FileError error{};
    lock = tarvik::platform::ArchiveLock::acquire(path, error);
    if (!lock) return 1;
  }
  std::ofstream(argv[3]) << "pronto\n";
  Sleep(static_cast<DWORD>(std::atoi(argv[4]) * 1000));
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  return 0;
}
