// `archive-gen from-json DESCRIPTION.json OUT.mdb`.
#pragma once

#include <string>
#include <vector>

namespace tarvik::archive_gen {

// Returns the exit status: 0 written, 1 refused (message on stderr), 2 wrong arguments.
int run_from_json_command(const std::vector<std::string>& args);

}  // namespace tarvik::archive_gen
