// Custom print layouts: per document kind the items of the header part ("T") and of the rows part
// ("R") of its page, and the area in which rows are printed. The four entries that the export
// always leaves out are there once each, with near misses beside them (another order number, the
// kind in lower case, the other part), a null order number and a record of nulls. Records are
// written in no sorted order: the export sorts them.
#include <array>

#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

constexpr std::u16string_view kHeaderItems[] = {
    u"Ragione sociale", u"Indirizzo", u"CAP e città", u"Partita IVA", u"Codice fiscale",
    u"Numero documento", u"Data documento", u"Pagamento", u"Banca d'appoggio", u"Destinazione",
    u"Causale del trasporto", u"Aspetto dei beni", u"Numero colli", u"Peso", u"Vettore",
    u"Totale imponibile", u"Totale IVA", u"Totale documento €", u"Note", u"Firma conducente"};
constexpr std::u16string_view kRowItems[] = {u"Codice articolo", u"Descrizione", u"Quantità", u"U.M.",
                                             u"Prezzo unitario", u"Sconto %", u"Importo", u"IVA"};

struct Entry {
  std::u16string_view kind;
  std::u16string_view part;
  std::int32_t order;
};

void layout_entry(RowBuilder& row, Rng& rng, std::int32_t id, const Entry& entry, std::u16string_view description) {
  row.clear();
  row.set("idStampaPersonalizzata", Value::long_(id));
  row.set_text("TipoDocumento", std::u16string(entry.kind));
  row.set_text("TestataRighe", std::u16string(entry.part));
  row.set("NumeroOrdine", Value::integer(static_cast<std::int16_t>(entry.order)));
  row.set_text("Descrizione", std::u16string(description));
  const std::int16_t x = static_cast<std::int16_t>(rng.between(10, 1800));
  const std::int16_t y = static_cast<std::int16_t>(rng.between(10, 2700));
  row.set("X", Value::integer(x));
  row.set("Y", Value::integer(y));
  row.set("X2", Value::integer(static_cast<std::int16_t>(x + rng.between(0, 200))));
  row.set("Y2", Value::integer(static_cast<std::int16_t>(y + rng.between(0, 40))));
  row.set("InUso", Value::boolean(rng.chance(800)));
  row.set("InUso2", Value::boolean(rng.chance(200)));
  row.set("InizioFine", Value::integer(static_cast<std::int16_t>(rng.below(2))));
  row.set("InizioFine2", Value::integer(static_cast<std::int16_t>(rng.below(2))));
  row.set("Lung", Value::integer(static_cast<std::int16_t>(rng.between(5, 60))));
  if (rng.chance(300)) row.set("Lung2", Value::integer(static_cast<std::int16_t>(rng.between(5, 60))));
  row.set("Numerico", Value::boolean(description.starts_with(u"Totale") || description.starts_with(u"Quantità") ||
                                     description.starts_with(u"Prezzo") || description.starts_with(u"Importo")));
}

}  // namespace

void generate_print_layouts(TableEmitter& out) {
  Rng rng = out.plan().rng("StampaPersonalizzata");
  RowBuilder row = out.row("StampaPersonalizzata");
  std::int32_t id = 1;
  const auto kinds = doc_kinds();
  // Kinds backwards and rows part first: the order of the table is not the order of the export.
  for (auto kind = kinds.rbegin(); kind != kinds.rend(); ++kind) {
    // Enough entries that the excluded ones ("B_" R 300, "B_" T 2100, "FA" R 150, "FA" T 5400) exist.
    const int row_entries = 8;
    const int header_entries = kind->code == u"FA" ? 55 : 25;
    for (int k = 1; k <= row_entries; ++k) {
      layout_entry(row, rng, id++, {kind->code, u"R", 50 * k}, kRowItems[static_cast<std::size_t>(k - 1) % std::size(kRowItems)]);
      out.emit(row);
    }
    for (int k = 1; k <= header_entries; ++k) {
      layout_entry(row, rng, id++, {kind->code, u"T", 100 * k}, kHeaderItems[static_cast<std::size_t>(k - 1) % std::size(kHeaderItems)]);
      out.emit(row);
    }
  }
  // Near misses of the excluded entries: each is exported.
  const std::array<Entry, 4> near_misses = {{{u"B_", u"R", 301}, {u"b_", u"R", 300}, {u"fa", u"T", 5400}, {u"FA", u"T", 5401}}};
  for (const Entry& entry : near_misses) {
    layout_entry(row, rng, id++, entry, u"Campo aggiuntivo");
    out.emit(row);
  }
  layout_entry(row, rng, id++, {u"B_", u"R", 0}, u"Numero d'ordine mancante");
  row.set_null("NumeroOrdine");
  out.emit(row);
  row.clear();
  row.set("idStampaPersonalizzata", Value::long_(id));
  out.emit(row);

  RowBuilder area = out.row("StampaPersonalizzata2");
  for (auto kind = kinds.rbegin(); kind != kinds.rend(); ++kind) {
    area.clear();
    area.set_text("TipoDocumento", std::u16string(kind->code));
    area.set("InizioRighe", Value::integer(static_cast<std::int16_t>(rng.between(700, 1000))));
    area.set("InizioRighe2", Value::integer(static_cast<std::int16_t>(rng.between(700, 1000))));
    area.set("FineRighe", Value::integer(static_cast<std::int16_t>(rng.between(2200, 2600))));
    if (kind->code != u"OF") area.set("FineRighe2", Value::integer(static_cast<std::int16_t>(rng.between(2200, 2600))));
    out.emit(area);
  }
  area.clear();
  area.set_text("TipoDocumento", u"NC");  // a kind with no documents and no area set
  out.emit(area);
}

}  // namespace tarvik::archive_gen::sample
