// The numbering counters: per year and document kind, the last number given. Beside them a counter
// of a kind with no documents, one with a control character in its kind, and one left null.
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

void generate_numbering(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder row = out.row("ProgrDocumenti");
  for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
    for (const DocKindInfo& info : doc_kinds()) {
      row.clear();
      row.set("Anno", Value::integer(static_cast<std::int16_t>(year)));
      row.set_text("TipoDocumento", std::u16string(info.code));
      row.set("Progressivo", Value::long_(plan.last_number(info.kind, year)));
      out.emit(row);
    }
  }
  const int last_year = kFirstYear + kYears - 1;
  row.clear();
  row.set("Anno", Value::integer(static_cast<std::int16_t>(last_year)));
  row.set_text("TipoDocumento", u"RF");  // receipts: no document of this kind in the archive
  row.set("Progressivo", Value::long_(3));
  out.emit(row);
  row.clear();
  row.set("Anno", Value::integer(static_cast<std::int16_t>(last_year)));
  row.set_text("TipoDocumento", u"P\a");
  row.set("Progressivo", Value::long_(1));
  out.emit(row);
  row.clear();
  row.set("Anno", Value::integer(static_cast<std::int16_t>(last_year + 1)));
  row.set_text("TipoDocumento", u"F_");
  out.emit(row);
}

}  // namespace tarvik::archive_gen::sample
