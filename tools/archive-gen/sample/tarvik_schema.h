// The tables and columns of a Tarvik archive, as tarvik_schema.json writes them down, in the form
// the Jet4 writer takes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive-gen/jet_writer.h"

namespace tarvik::archive_gen::sample {

struct SampleSchema {
  std::vector<TableSpec> tables;
  // "Table.Column" of columns that this archive lacks on purpose (an out-of-date Tarvik); rows may
  // still name them and the value is left out.
  std::vector<std::string> dropped_columns;

  // Index of the table in `tables`; throws std::logic_error for a name the schema lacks.
  std::size_t table_index(std::string_view name) const;
  bool is_dropped(std::string_view table, std::string_view column) const;
};

// The schema of an up-to-date Tarvik; with `without_note_in_bolla`, the one of a Tarvik not yet
// updated, whose CliFor lacks NoteInBolla.
SampleSchema tarvik_schema(bool without_note_in_bolla = false);

// The column type of a type name of the schema file ("long", "memo", ...); throws
// std::invalid_argument for another name.
archive::FieldType column_type_from_name(std::string_view name);

}  // namespace tarvik::archive_gen::sample
