// An error as the program reports it to the user: a number and an Italian description, the way
// the Jet engine and the platform's runtime report theirs. The engine's, the transfer file's and
// the run's own errors are all of this kind, so the run-wide handler treats them alike.
#pragma once

#include <stdexcept>
#include <string>

namespace tarvik {

class NumberedError : public std::runtime_error {
 public:
  NumberedError(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

}  // namespace tarvik
