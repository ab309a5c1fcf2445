// `archive-gen sample [--scale N] [--seed S] [--variant V] OUT.mdb`: writes a Tarvik sample archive
// and prints "TABLE ROWS" for every table it wrote.
#pragma once

#include <string>
#include <vector>

namespace tarvik::archive_gen {

// `args` are the words after `sample`. Returns the process exit status: 0 done, 2 bad arguments,
// 1 the archive could not be written.
int run_sample_command(const std::vector<std::string>& args);

}  // namespace tarvik::archive_gen
