// Errors the run raises itself, numbered and worded as the platform's runtime reports them, so
// that the run-wide handler shows them like the engine's and the transfer file's errors.
#pragma once

#include <string>

#include "common/numbered_error.h"

namespace tarvik::app {

class RunError : public NumberedError {
 public:
  using NumberedError::NumberedError;
};

// 6: a count left the 32-bit signed range.
inline RunError overflow() { return RunError(6, "Overflow"); }
// 7: memory ran out.
inline RunError out_of_memory() { return RunError(7, "Memoria esaurita"); }

// 5: any other failure inside the program.
inline RunError invalid_call() { return RunError(5, "Chiamata di routine o argomento non validi"); }

}  // namespace tarvik::app
