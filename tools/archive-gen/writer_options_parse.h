// The options both archive-gen commands take for the file they write:
// --format jet3|jet4, --layout fresh|aged, --layout-seed N.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "jet_writer.h"

namespace tarvik::archive_gen {

inline constexpr const char* kWriterOptionsUsage = "[--format jet3|jet4] [--layout fresh|aged] [--layout-seed N]";

// When args[i] is one of these options, reads it and its value into `options`, moves `i` to the
// value and returns true; on a bad value sets `error`. Returns false for any other word.
bool parse_writer_option(const std::vector<std::string>& args, std::size_t& i,
                         WriterOptions& options, std::string& error);

}  // namespace tarvik::archive_gen
