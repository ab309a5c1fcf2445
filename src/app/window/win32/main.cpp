// tarvik-export.exe [PATH]: the export window on Windows. PATH is where the transfer file is
// written ("ProvaExport.txt" in the current folder when it is missing), taken from the process's
// own command line (the platform reads it), so that its spacing and quotes are the user's.
#include <windows.h>

#include "app/command_line.h"
#include "app/export_window.h"
#include "app/window/win32/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  using tarvik::app::kExitFailed;
  tarvik::app::window::win32::Form1 form(instance);
  tarvik::app::ExportWindowRun run(form, tarvik::app::CommandLineText(0, nullptr));
  form.set_run([&] {
    if (!run.Run()) form.EndProgram(kExitFailed);
  });
  form.Show(show_command);

  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (!form.PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return got == 0 ? static_cast<int>(msg.wParam) : kExitFailed;
}
