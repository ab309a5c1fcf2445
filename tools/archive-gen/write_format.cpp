#include "write_format.h"

namespace tarvik::archive_gen {

const WriteFormat& write_format(FileFormat format) {
  static const WriteFormat jet3{archive::jet::jet3_format()};
  static const WriteFormat jet4{archive::jet::jet4_format()};
  return format == FileFormat::Jet3 ? jet3 : jet4;
}

}  // namespace tarvik::archive_gen
