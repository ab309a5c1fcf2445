// The warehouse: items (Magazzino) with their barcodes and pictures, the stock journal, the
// supplier links and the bills of materials. Deleted items leave movements, links and bill rows
// behind; locations hold shelf names and, here and there, till departments.
#include "awkward_texts.h"
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

std::u16string ean13(Rng& rng) {
  std::u16string code = u"80" + digits(rng.between(0, 99999), 5) + digits(rng.between(0, 99999), 5);
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += (code[static_cast<std::size_t>(i)] - u'0') * (i % 2 == 0 ? 1 : 3);
  code += static_cast<char16_t>(u'0' + (10 - sum % 10) % 10);
  return code;
}

// A picture as Tarvik kept it: a bitmap's bytes in an OLE field.
archive::Binary picture(Rng& rng, std::size_t size) {
  archive::Binary bytes(size);
  bytes[0] = 'B';
  if (size > 1) bytes[1] = 'M';
  for (std::size_t i = 2; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(rng.below(256));
  return bytes;
}

std::u16string location(Rng& rng, std::int32_t n) {
  if (n == 2) return u"07";
  if (n == 4) return u".6";
  const std::uint32_t roll = rng.below(100);
  if (roll < 8) return std::u16string(rng.pick(vocabulary::departments()));
  if (roll < 12) return std::u16string(rng.pick(vocabulary::non_departments()));
  return std::u16string(rng.pick(vocabulary::shelves()));
}

void item(TableEmitter& out, RowBuilder& row, std::int32_t n) {
  Rng rng = out.plan().rng("Magazzino", static_cast<std::uint64_t>(n));
  const vocabulary::Family& family = SamplePlan::item_family(n);
  row.clear();
  row.set_text("Codice", SamplePlan::item_code(n));
  if (n > 12 && rng.chance(20)) {  // an item with nothing but its code
    out.emit(row);
    return;
  }
  if (!rng.chance(50)) row.set_text("Famiglia", std::u16string(family.code));
  std::u16string description(family.goods[static_cast<std::size_t>(n / 5) % family.goods.size()]);
  if (rng.chance(300)) description += u" – mod. " + digits(rng.between(1, 99));
  if (n == 3) description = with_control_characters(description, rng);
  row.set_text("Descrizione", description);
  row.set("idTabIva", Value::long_(rng.chance(850) ? 1 : rng.between(2, kVatRates)));
  row.set_text("UM", std::u16string(family.unit));
  row.set("Giacenza", Value::double_(rng.chance(50) ? -rng.between(1, 20) : rng.between(0, 4000) / 4.0));
  row.set("QImpegnata", Value::double_(rng.chance(700) ? 0 : rng.between(1, 50)));
  for (int i = 1; i <= 4; ++i) {
    row.set("Ricar" + std::to_string(i), Value::single(static_cast<float>(40 - 5 * i) + (rng.chance(200) ? 0.5f : 0.0f)));
  }
  if (rng.chance(600)) row.set("ScortaMinima", Value::double_(rng.between(1, 20)));
  if (rng.chance(500)) row.set("QRiordino", Value::double_(rng.between(5, 100)));
  row.set("QConfezione", Value::double_(rng.chance(800) ? 1 : rng.between(2, 24)));
  if (n <= 4 || rng.chance(550)) row.set_text("Collocazione", location(rng, n));
  MemoSize note = draw_memo_size(rng, true);
  if (n == 5) note = MemoSize::VeryLong;
  if (n == 6) note = MemoSize::MultiPage;
  if (n <= 6 || rng.chance(250)) row.set_text("Note", memo_text(rng, note));
  if (rng.chance(150)) row.set_text("Note2Descr", memo_text(rng, MemoSize::Short));
  const std::uint32_t producer = rng.below(100);
  if (producer < 60) row.set("idProduttore", Value::long_(rng.between(1, kProducers)));
  else if (producer < 62) row.set("idProduttore", Value::long_(42));  // a producer deleted long ago
  const std::int64_t list_price = rng.between(50, 90000);
  row.set("PrezzoListino", money(list_price));
  row.set("PrezzoNetto", money(list_price * rng.between(50, 80) / 100));
  row.set("Provvigione", Value::single(static_cast<float>(rng.between(0, 8))));
  // Barcodes: mostly EAN-13; some empty texts, some nulls, one single blank.
  if (n == 7) row.set_text("Barcode", u" ");
  else if (n == 8) row.set_text("Barcode", u"");
  else if (n != 9) {
    const std::uint32_t roll = rng.below(100);
    if (roll < 70) row.set_text("Barcode", ean13(rng));
    else if (roll < 80) row.set_text("Barcode", u"");
  }
  if (n == 10) row.set("Immagine", Value::binary(picture(rng, 6000)));
  else if (n == 11 || rng.chance(30)) row.set("Immagine", Value::binary(picture(rng, static_cast<std::size_t>(rng.between(40, 400)))));
  row.set("UltimaModifica", date_time_value(day_number(2003, 1, 1) + rng.between(0, 1000), rng.between(8, 19), rng.between(0, 59)));
  out.emit(row);
}

void stock_movements(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder row = out.row("GiornaleMagazzino");
  const std::int32_t count = 800 * plan.options().scale;
  for (std::int32_t id = 1; id <= count; ++id) {
    Rng rng = plan.rng("GiornaleMagazzino", static_cast<std::uint64_t>(id));
    row.clear();
    row.set("idGiornaleMagazzino", Value::long_(id));
    if (id == 2) {  // a record of nulls
      out.emit(row);
      continue;
    }
    // The first movement is always of an item deleted since: it is dropped by the join.
    row.set_text("Codice", SamplePlan::item_code(id == 1 ? 17 : plan.any_item(rng)));
    if (id > 1 && rng.chance(15)) {
      out.emit(row);
      continue;
    }
    // 1 load from a supplier, 2 sale, 3 return, 4 stocktaking.
    const int causal = rng.chance(400) ? 1 : rng.chance(800) ? 2 : rng.between(3, 4);
    const double quantity = rng.between(1, 200) / (rng.chance(800) ? 1.0 : 4.0);
    row.set("Quantita", Value::double_(causal == 2 ? -quantity : quantity));
    const std::int32_t day = day_number(kFirstYear, 1, 1) + rng.between(0, 365 * kYears - 1);
    row.set("DataMovimento", Value::datetime({static_cast<double>(day)}));
    row.set("DataRegistrazione", date_time_value(day + rng.between(0, 3), rng.between(8, 18), rng.between(0, 59)));
    row.set("idCausale", Value::integer(static_cast<std::int16_t>(causal)));
    if (causal <= 3 && !rng.chance(100)) {
      row.set_text("NDocumento", digits(rng.between(1, 900)) + (rng.chance(300) ? u"/B" : u""));
      row.set("DataDocumento", Value::datetime({static_cast<double>(day - rng.between(0, 10))}));
    }
    if (causal == 1) row.set("idCliFor", Value::long_(plan.any_supplier(rng)));
    else if (causal <= 3) row.set("idCliFor", Value::long_(plan.any_customer(rng)));
    row.set("PrezzoNetto", money(rng.between(50, 60000)));
    out.emit(row);
  }
}

void supplier_link(TableEmitter& out, RowBuilder& row, std::int32_t& id, std::int32_t item, std::int32_t supplier,
                   bool preferred, Rng& rng) {
  row.clear();
  row.set("idMagazzinoFornitori", Value::long_(id++));
  if (supplier != 0) row.set("idCliFor", Value::long_(supplier));
  row.set_text("CodiceArticolo", SamplePlan::item_code(item));
  row.set("Sc1", Value::single(static_cast<float>(rng.between(0, 8)) * 5.0f));
  if (rng.chance(400)) row.set("Sc2", Value::single(5.0f));
  if (rng.chance(100)) row.set("Sc3", Value::single(2.5f));
  if (rng.chance(600)) row.set_text("CodPForn", u"ART-" + digits(rng.between(1, 99999), 5));
  row.set("Preferenziale", Value::boolean(preferred));
  if (rng.chance(700)) row.set("UltimoCarico", date_value(kFirstYear + rng.between(0, kYears - 1), rng.between(1, 12), rng.between(1, 28)));
  if (rng.chance(900)) row.set("PrezzoNetto", money(rng.between(40, 50000)));
  out.emit(row);
}

// The supplier of an item's t-th link: distinct for t = 0, 1, 2 since 13 * 2 < supplier_count.
std::int32_t link_supplier(const SamplePlan& plan, std::int32_t item, int t) {
  return SamplePlan::supplier(static_cast<std::int32_t>((item * 7 + t * 13) % plan.supplier_count()));
}

void supplier_links(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder row = out.row("LinkMagazzinoFornitori");
  std::int32_t id = 1;
  for (std::int32_t item = 1; item <= plan.item_count(); ++item) {
    Rng rng = plan.rng("LinkMagazzinoFornitori", static_cast<std::uint64_t>(item));
    const int links = item == 1 ? 2 : item == 2 ? 1 : rng.between(0, 2);
    for (int t = 0; t < links; ++t) {
      // At most one link of an item lacks its supplier: two would make a duplicate pair.
      const bool no_supplier = t == 0 && item > 2 && rng.chance(20);
      supplier_link(out, row, id, item, no_supplier ? 0 : link_supplier(plan, item, t), t == 0, rng);
    }
  }
  if (plan.options().duplicate_suppliers) {
    // Item 1 gets each of its two suppliers twice (listed twice); item 2 its one supplier three
    // times (listed once).
    Rng rng = plan.rng("duplicate-suppliers");
    supplier_link(out, row, id, 1, link_supplier(plan, 1, 0), false, rng);
    supplier_link(out, row, id, 1, link_supplier(plan, 1, 1), false, rng);
    supplier_link(out, row, id, 2, link_supplier(plan, 2, 0), false, rng);
    supplier_link(out, row, id, 2, link_supplier(plan, 2, 0), false, rng);
  }
  row.clear();
  row.set("idMagazzinoFornitori", Value::long_(id));  // a record of nulls
  out.emit(row);
}

void bills_of_materials(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder row = out.row("DistinteMagazzino");
  std::int32_t id = 1;
  const std::int32_t parents = 20 * plan.options().scale;
  for (std::int32_t p = 1; p <= parents; ++p) {
    Rng rng = plan.rng("DistinteMagazzino", static_cast<std::uint64_t>(p));
    const std::int32_t parent = p * 11 % plan.item_count() + 1;  // some parents were deleted
    const int components = rng.between(2, 5);
    for (int s = 1; s <= components; ++s) {
      row.clear();
      row.set("idDistinte", Value::long_(id++));
      row.set("Sequenza", Value::integer(static_cast<std::int16_t>(s)));
      row.set_text("CodPadre", SamplePlan::item_code(parent));
      row.set_text("CodFiglio", p == 1 && s == 1 ? std::u16string(u"XX-ELIMINATO") : SamplePlan::item_code(plan.any_item(rng)));
      row.set("Quantita", Value::double_(rng.chance(700) ? rng.between(1, 10) : rng.between(1, 40) / 8.0));
      out.emit(row);
    }
  }
  row.clear();
  row.set("idDistinte", Value::long_(id));
  out.emit(row);
}

}  // namespace

void generate_warehouse(TableEmitter& out) {
  RowBuilder items = out.row("Magazzino");
  for (std::int32_t n = 1; n <= out.plan().item_count(); ++n) {
    if (SamplePlan::item_exists(n)) item(out, items, n);
  }
  stock_movements(out);
  supplier_links(out);
  bills_of_materials(out);
}

}  // namespace tarvik::archive_gen::sample
