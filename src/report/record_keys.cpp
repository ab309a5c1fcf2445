#include "report/record_keys.h"

#include <map>

#include "report/value_text.h"

namespace tarvik::report {

namespace {

const std::map<std::string_view, std::string_view, std::less<>>& key_fields() {
  // Blocks whose first field does not name the record; the others are named by their first field.
  static const std::map<std::string_view, std::string_view, std::less<>> keys = {
      {"LinkAgentiCliFor", "idCliFor"},
      {"BarcodeMagazzino", "Codice"},
      {"StampaPersonalizzata", "TipoDocumento"},
      {"ProgrDocumenti", "TipoDocumento"},
  };
  return keys;
}

}  // namespace

std::string RecordKey(std::string_view block, archive::Recordset& records) {
  std::string_view field;
  if (auto found = key_fields().find(block); found != key_fields().end()) field = found->second;
  else if (!records.fields().empty()) field = records.fields().front().name;
  if (field.empty()) return {};
  const archive::Value& value = records.field(field);
  const std::string text = ValueText(value);
  return std::string(field) + " " + (value.kind() == archive::ValueKind::Text ? "'" + text + "'" : text);
}

}  // namespace tarvik::report
