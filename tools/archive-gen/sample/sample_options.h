// What `archive-gen sample` is asked for: the size, the seed and the deliberate defects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive-gen/jet_writer.h"

namespace tarvik::archive_gen::sample {

struct SampleOptions {
  int scale = 1;            // 1: a small demo archive (2 MB); grows linearly, about 1 MB a step
  std::uint64_t seed = 1;
  // The variants, each a defect that one archive check refuses.
  bool outdated = false;             // CliFor without NoteInBolla
  bool duplicate_suppliers = false;  // an item linked more than once to the same supplier
  bool missing_destination = false;  // accompanying invoices without an existing destination
  // Texts only Windows-1252 holds, as a Jet3 archive's users typed them (the default there).
  bool ansi_texts = false;
  WriterOptions writer;
  std::string output_path;
};

// Scale 2000 writes about 2.06 GB (1.92 GiB), just under the 2 GiB where Jet archives end.
inline constexpr int kMaxScale = 2000;

// Parses the words after `sample`: [--scale N] [--seed S] [--variant V[,V...]]...
// [--texts ansi|unicode] [--format jet3|jet4] [--layout fresh|aged] [--layout-seed N] OUT.mdb.
// Returns the options, or sets `error` to a message for the user.
std::optional<SampleOptions> parse_sample_options(const std::vector<std::string>& args, std::string& error);

}  // namespace tarvik::archive_gen::sample
