// Errors the run raises itself, numbered and worded as the platform's runtime reports them, so
// that the run-wide handler shows them like the engine's and the transfer file's errors.
#pragma once

#include <stdexcept>
#include <string>

namespace tarvik::app {

class RunError : public std::runtime_error {
 public:
  RunError(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// 6: a count left the 32-bit signed range.
inline RunError overflow() { return RunError(6, "Overflow"); }
// 7: memory ran out.
inline RunError out_of_memory() { return RunError(7, "Memoria esaurita"); }

// 5: any other failure inside the program.
inline RunError invalid_call() { return RunError(5, "Chiamata di routine o argomento non validi"); }

}  // namespace tarvik::app
