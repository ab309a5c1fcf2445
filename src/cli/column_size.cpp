#include "cli/column_size.h"

namespace tarvik::cli {

unsigned column_size(const archive::jet::Column& column, bool jet3) {
  using archive::FieldType;
  switch (column.type) {
    case FieldType::Memo:
    case FieldType::Ole:
      return 0;
    case FieldType::Text:
      return jet3 ? column.length : column.length / 2u;
    default:
      return column.length;
  }
}

}  // namespace tarvik::cli
