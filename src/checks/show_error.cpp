#include "checks/archive_checks.h"

namespace tarvik::checks {

void ShowError(ui::WindowPort& window, const std::string& text) {
  window.set_error_text(text);
  window.show_error_panel(true);
  window.enable_button(false);
  window.set_busy_pointer(false);  // the run had set the hourglass
}

}  // namespace tarvik::checks
