// tarvik-export.exe [PATH]: the export window on Windows. PATH is where the transfer file is
// written ("ProvaExport.txt" in the current folder when it is missing), taken from the process's
// own command line (the platform reads it), so that its spacing and quotes are the user's.
#include <windows.h>

#include "app/export_run.h"
#include "app/run_context.h"
#include "app/window/win32/form1.h"
#include "app/command_line.h"
#include "platform/utf8_path.h"

namespace {

constexpr int kExitFailed = 1;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  using tarvik::app::window::win32::Form1;
  Form1 form(instance);
  form.Form_Load(tarvik::app::CommandLineText(0, nullptr));
  tarvik::app::RunContext context(form, tarvik::platform::PathFromUtf8(form.transfer_path()));
  form.set_run([&] {
    // A failed run has reported its error and deleted the transfer file: the program ends here,
    // with nothing else closed or restored. A finished one has unloaded the window.
    if (tarvik::app::Command1_Click(context) == tarvik::app::RunOutcome::Failed) form.EndProgram(kExitFailed);
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
