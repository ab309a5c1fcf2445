#include "exporters/map_cond_pag.h"

#include <cmath>

namespace tarvik::exporters {

std::optional<std::int64_t> condition_code_of(const archive::Value& value) {
  using archive::ValueKind;
  auto whole = [](double d) -> std::optional<std::int64_t> {
    if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > 9.0e15) return std::nullopt;
    return static_cast<std::int64_t>(d);
  };
  switch (value.kind()) {
    case ValueKind::Byte: return value.as_byte();
    case ValueKind::Integer: return value.as_integer();
    case ValueKind::Long: return value.as_long();
    case ValueKind::Single: return whole(value.as_single());
    case ValueKind::Double: return whole(value.as_double());
    case ValueKind::Currency: {
      std::int64_t units = value.as_currency().ten_thousandths;
      if (units % 10000 != 0) return std::nullopt;
      return units / 10000;
    }
    default: return std::nullopt;
  }
}

archive::Value MapCondPag(const ConditionCodeList& codes, const archive::Value& value) {
  if (value.is_null()) return value;
  std::optional<std::int64_t> code = condition_code_of(value);
  if (code && codes.count(*code)) return value;
  return archive::Value();
}

}  // namespace tarvik::exporters
