#include "cli/column_size.h"

namespace tarvik::cli {

unsigned column_size(const archive::jet::Column& column, bool jet3) {
  using archive::jet::ColumnType;
  switch (column.type) {
    case ColumnType::Memo:
    case ColumnType::Ole:
      return 0;
    case ColumnType::Text:
      return jet3 ? column.length : column.length / 2u;
    default:
      return column.length;
  }
}

}  // namespace tarvik::cli
