// The system catalog, MSysObjects: its table definition (always page 2), copied column for
// column from Access 97 and 2000 files so that every reader finds the columns it binds (mdbtools needs
// LvProp), and its rows: the Tables, Databases and Relationships containers, MSysObjects itself
// and one row per user table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "column_layout.h"
#include "write_format.h"

namespace tarvik::archive_gen {

inline constexpr std::uint32_t kCatalogPage = 2;

struct CatalogObject {
  std::u16string name;
  std::int32_t id = 0;
  std::int32_t parent_id = 0;
  std::int16_t type = 0;
  std::uint32_t flags = 0;
};

// MSysObjects' columns in column-number order.
TableLayout catalog_layout(const WriteFormat& format);

// The catalog rows for user tables whose definitions start at `tdef_pages` (in the same order
// as `table_names`).
std::vector<CatalogObject> catalog_objects(const std::vector<std::u16string>& table_names,
                                           const std::vector<std::uint32_t>& tdef_pages);

}  // namespace tarvik::archive_gen
