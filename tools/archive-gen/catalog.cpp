#include "catalog.h"

namespace tarvik::archive_gen {

using archive::FieldType;

namespace {

constexpr std::int32_t kTablesContainer = 0x0F000001;
constexpr std::int32_t kDatabasesContainer = 0x0F000002;
constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
constexpr std::int32_t kContainersParent = 0x0F000000;
constexpr std::int16_t kTypeTable = 1;
constexpr std::int16_t kTypeContainer = 3;
constexpr std::uint32_t kSystemObject = 0x80000000u;

// Access marks MSysObjects' columns 0x10 beside the usual fixed/updatable bits; Owner also 0x20.
constexpr std::uint8_t kCatalogFlag = 0x10;

struct CatalogColumn {
  const char16_t* name;
  FieldType type;
  std::uint16_t length;
  std::uint8_t extra_flags;
};

}  // namespace

TableLayout catalog_layout(const WriteFormat& format) {
  static constexpr CatalogColumn kColumns[] = {
      {u"Id", FieldType::Long, 4, 0},
      {u"ParentId", FieldType::Long, 4, 0},
      {u"Name", FieldType::Text, 510, 0},
      {u"Type", FieldType::Integer, 2, 0},
      {u"DateCreate", FieldType::DateTime, 8, 0},
      {u"DateUpdate", FieldType::DateTime, 8, 0},
      {u"Owner", FieldType::Binary, 510, 0x20},
      {u"Flags", FieldType::Long, 4, 0},
      {u"Database", FieldType::Memo, 0, 0},
      {u"Connect", FieldType::Memo, 0, 0},
      {u"ForeignName", FieldType::Text, 510, 0},
      {u"RmtInfoShort", FieldType::Binary, 510, 0},
      {u"RmtInfoLong", FieldType::Ole, 0, 0},
      {u"Lv", FieldType::Ole, 0, 0},
      {u"LvProp", FieldType::Ole, 0, 0},
      {u"LvModule", FieldType::Ole, 0, 0},
      {u"LvExtra", FieldType::Ole, 0, 0},
  };
  TableLayout layout;
  std::uint16_t fixed_offset = 0;
  std::uint16_t number = 0;
  for (const CatalogColumn& spec : kColumns) {
    ColumnLayout c;
    c.name = spec.name;
    c.type = spec.type;
    c.index = number;
    c.number = number++;
    // Jet3 keeps a character in a byte.
    const bool sized = spec.type == FieldType::Text || spec.type == FieldType::Binary;
    c.length = format.jet3() && sized ? spec.length / 2 : spec.length;
    c.flags = static_cast<std::uint8_t>(ColumnLayout::kUpdatable | kCatalogFlag | spec.extra_flags);
    const std::size_t bytes = fixed_row_bytes(spec.type);
    const bool variable = spec.type == FieldType::Text || spec.type == FieldType::Binary ||
                          spec.type == FieldType::Memo || spec.type == FieldType::Ole;
    if (variable) {
      c.var_index = layout.var_count++;
      if (spec.type == FieldType::Text) c.text_size = spec.length / 2;
      c.code_page_text = format.jet3() && (spec.type == FieldType::Text || spec.type == FieldType::Memo);
    } else {
      c.flags |= ColumnLayout::kFixed;
      c.fixed_offset = fixed_offset;
      fixed_offset = static_cast<std::uint16_t>(fixed_offset + bytes);
    }
    layout.columns.push_back(std::move(c));
  }
  layout.fixed_size = fixed_offset;
  layout.max_columns = number;
  layout.first_added = number;
  return layout;
}

std::vector<CatalogObject> catalog_objects(const std::vector<std::u16string>& table_names,
                                           const std::vector<std::uint32_t>& tdef_pages) {
  std::vector<CatalogObject> objects = {
      {u"Tables", kTablesContainer, kContainersParent, kTypeContainer, kSystemObject},
      {u"Databases", kDatabasesContainer, kContainersParent, kTypeContainer, kSystemObject},
      {u"Relationships", kRelationshipsContainer, kContainersParent, kTypeContainer,
       kSystemObject},
      {u"MSysObjects", static_cast<std::int32_t>(kCatalogPage), kTablesContainer, kTypeTable,
       kSystemObject},
  };
  for (std::size_t i = 0; i < table_names.size(); ++i)
    objects.push_back({table_names[i], static_cast<std::int32_t>(tdef_pages[i]), kTablesContainer,
                       kTypeTable, 0});
  return objects;
}

}  // namespace tarvik::archive_gen
