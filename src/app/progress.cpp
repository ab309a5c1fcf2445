#include <string>

#include "app/run_context.h"
#include "app/run_error.h"

namespace tarvik::app {

void RunContext::TickProgress() {
  if (__builtin_add_overflow(done, 1, &done)) throw overflow();
  if (done % 100 != 0) return;
  window.set_progress_caption("Avanzamento: " + std::to_string(done) + "/" + std::to_string(total));
  window.process_events();
}

}  // namespace tarvik::app
