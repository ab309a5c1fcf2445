// The one error type of the archive engine: a number and an Italian description, the way the
// Jet engine reports its errors to the program. Every error the engine can raise is made by one of
// the functions below, so the numbers and texts live in one place.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvik::archive {

class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

namespace errors {

// 3024: the archive file does not exist.
ArchiveError file_not_found(std::string_view path);
// 3051: the file exists but cannot be opened (permissions, or held by another program).
ArchiveError cannot_open(std::string_view path);
// 3045: the archive is already open exclusively by another export.
ArchiveError in_use(std::string_view path);
// 3343: the file is not a Jet archive at all (wrong header, unknown version, unsupported encryption).
ArchiveError unrecognized_format(std::string_view path, std::string_view why);
// 3049: the file is a Jet archive but its structure is damaged; `where` says what broke, in Italian.
ArchiveError damaged(std::string_view where);
// 3078: no table or query with this name.
ArchiveError table_not_found(std::string_view name);
// 3265: no field with this name in the record set.
ArchiveError item_not_found(std::string_view name);
// 3061: the query names something the tables lack (Jet reads it as a parameter).
ArchiveError too_few_parameters(int expected);

}  // namespace errors
}  // namespace tarvik::archive
