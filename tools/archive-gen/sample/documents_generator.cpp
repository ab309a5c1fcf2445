// The commercial documents of the seven kinds: each header table, then its rows table. A header's
// amounts are the sums of its lines, drawn from the document's own stream. Some headers were
// deleted (their rows remain), some name a customer that is gone, and a few rows belong to a
// document id that never existed.
#include <cmath>

#include "awkward_texts.h"
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

struct Totals {
  std::int64_t items_cents = 0;
  std::int64_t vat_cents = 0;
};

std::int64_t line_amount_cents(const DocumentLine& line) {
  return std::llround(line.quantity * static_cast<double>(line.price_cents) * (100.0 - line.discount) / 100.0);
}

Totals totals_of(const std::vector<DocumentLine>& lines) {
  Totals totals;
  for (const DocumentLine& line : lines) {
    const std::int64_t amount = line_amount_cents(line);
    totals.items_cents += amount;
    totals.vat_cents += std::llround(static_cast<double>(amount) * vat_rate(line.vat) / 100.0);
  }
  return totals;
}

std::u16string short_note(Rng& rng) {
  std::u16string note(rng.pick(vocabulary::sentences()));
  if (rng.chance(250)) note += u"\r\n" + std::u16string(rng.pick(vocabulary::sentences()));
  if (rng.chance(80)) note = with_control_characters(note, rng);
  return note;
}

void payment_condition(RowBuilder& row, Rng& rng) {
  const std::uint32_t roll = rng.below(100);
  if (roll < 85) row.set("idCondPag", Value::long_(rng.between(1, kPaymentConditionIds)));
  else if (roll < 90) row.set("idCondPag", Value::long_(kMissingPaymentCondition));
}

void bank(RowBuilder& row, Rng& rng, bool with_codes) {
  if (!rng.chance(600)) return;
  row.set_text("BancaAppoggio", std::u16string(rng.pick(vocabulary::banks())));
  row.set_text("BancaAppoggio2", u"Ag. " + std::u16string(rng.pick(vocabulary::towns()).name));
  if (with_codes) {
    row.set_text("ABI", digits(rng.between(1000, 9999), 5));
    row.set_text("CAB", digits(rng.between(10000, 99999), 5));
  }
}

void extended_description(RowBuilder& row, Rng& rng, std::int32_t id) {
  // Exported as a cleaned line, so never past 32 766 characters.
  if (id == 3) row.set_text("DescrizioneEstesa", memo_text(rng, MemoSize::MultiPage));
  else if (id == 4) row.set_text("DescrizioneEstesa", memo_text(rng, MemoSize::Foreign));
  else if (rng.chance(300)) row.set_text("DescrizioneEstesa", memo_text(rng, draw_memo_size(rng, false)));
}

void transport(RowBuilder& row, Rng& rng, std::int32_t day) {
  row.set_text("Causale", std::u16string(rng.pick(vocabulary::transport_reasons())));
  row.set_text("AspBeni", std::u16string(rng.pick(vocabulary::goods_appearances())));
  if (rng.chance(800)) row.set("Peso", Value::double_(rng.between(1, 20000) / 10.0));
  row.set("NColli", Value::integer(static_cast<std::int16_t>(rng.between(1, 40))));
  row.set("DataPart", Value::datetime({static_cast<double>(day)}));
  if (rng.chance(700)) row.set("OraPart", time_value(rng.between(7, 18), 15 * rng.between(0, 3)));
  static constexpr std::u16string_view kBy[] = {u"Mittente", u"Destinatario", u"Vettore"};
  const std::size_t by = rng.below(3);
  row.set_text("ACura", std::u16string(kBy[by]));
  if (by == 2) row.set("idVettore1", Value::long_(rng.between(1, kCarriers)));
  row.set_text("Porto", rng.chance(700) ? u"Franco" : u"Assegnato");
}

// The customer or supplier of a document: the second of each kind is always one that is gone.
std::int32_t counterpart(const SamplePlan& plan, DocKind kind, std::int32_t id, Rng& rng) {
  const bool supplier = kind == DocKind::OrdForn;
  if (id == 1) return supplier ? plan.existing_supplier(rng) : plan.existing_customer(rng);
  if (id == 2) return supplier ? 55 : 19;
  return supplier ? plan.any_supplier(rng) : plan.any_customer(rng);
}

void header(TableEmitter& out, RowBuilder& row, DocKind kind, std::int32_t id, DocumentNumber number,
            std::int32_t destination_override, bool override_destination) {
  const SamplePlan& plan = out.plan();
  const DocKindInfo& info = doc_kind(kind);
  Rng rng = plan.rng(info.header_table, static_cast<std::uint64_t>(id));
  const Totals totals = totals_of(plan.lines_of(kind, id));
  row.clear();
  row.set("idDocumento", Value::long_(id));
  if (id == 5) {  // a record of nulls; an accompanying invoice keeps the destination the check needs
    if (kind == DocKind::FattAcc) row.set("idDestinazione", Value::long_(plan.existing_customer(rng)));
    out.emit(row);
    return;
  }
  if (id > 5 && rng.chance(10)) row.set_null("idCliFor");
  else row.set("idCliFor", Value::long_(counterpart(plan, kind, id, rng)));
  row.set("Numero", Value::long_(number.number));
  row.set("Anno", Value::integer(static_cast<std::int16_t>(number.year)));
  const std::int32_t day = day_number(number.year, 1, 1) + std::min(363, number.number * 364 / std::max(1, plan.last_number(kind, number.year)));
  row.set("Data", Value::datetime({static_cast<double>(day)}));
  row.set("Stampato", Value::boolean(rng.chance(850)));
  row.set("UltimaModifica", date_time_value(day + rng.between(0, 20), rng.between(8, 19), rng.between(0, 59)));

  if (kind != DocKind::Bolle) {
    row.set("Sconto", Value::single(rng.chance(850) ? 0.0f : 5.0f));
    row.set("ImportoVoci", money(totals.items_cents));
    row.set("ImportoIVA", money(totals.vat_cents));
    row.set("ImportoTotale", money(totals.items_cents + totals.vat_cents));
    payment_condition(row, rng);
    bank(row, rng, kind == DocKind::FattAcc || kind == DocKind::Fatture);
    row.set("PrezziUnitariIVACompresa", Value::boolean(rng.chance(100)));
  }
  if (kind == DocKind::FattAcc || kind == DocKind::Fatture) {
    if (rng.chance(200)) row.set("SpeseTrasporto", money(rng.between(5, 80) * 100));
    if (rng.chance(300)) row.set("SpeseBanca", money(155));
    if (totals.items_cents > 7747) row.set("SpeseBolli", money(rng.chance(500) ? 181 : 0));
    const bool withholding = rng.chance(50);
    row.set("PercRitAcconto", Value::single(withholding ? 20.0f : 0.0f));
    row.set("ImportoRitAcc", money(withholding ? totals.items_cents / 5 : 0));
    row.set("ScontoAbituale", Value::single(rng.chance(800) ? 0.0f : 2.5f));
    extended_description(row, rng, id);
  }
  switch (kind) {
    case DocKind::FattAcc:
      if (override_destination) {
        if (destination_override != 0) row.set("idDestinazione", Value::long_(destination_override));
      } else {
        row.set("idDestinazione", Value::long_(plan.existing_customer(rng)));
      }
      transport(row, rng, day);
      if (rng.chance(300)) row.set_text("Note1", short_note(rng));
      if (rng.chance(100)) row.set_text("Note2", short_note(rng));
      break;
    case DocKind::Fatture: {
      const std::uint32_t type = rng.below(100);
      if (type < 90) row.set_text("TipoDocumento", u"F_");
      else if (type < 98) row.set_text("TipoDocumento", u"NC");  // credit note
      if (rng.chance(100)) row.set_text("LetteraDopoNumero", u"B");
      else if (rng.chance(300)) row.set_text("LetteraDopoNumero", u"");
      if (rng.chance(400)) row.set("idAgente", Value::long_(plan.any_agent(rng)));
      row.set("UsaRitenutaAcconto", Value::boolean(rng.chance(50)));
      row.set("GestirePrezziTotali", Value::boolean(rng.chance(100)));
      break;
    }
    case DocKind::Bolle: {
      const std::uint32_t destination = rng.below(100);
      if (destination < 60) row.set("idDestinazione", Value::long_(plan.existing_customer(rng)));
      else if (destination < 63) row.set("idDestinazione", Value::long_(plan.any_customer(rng)));
      transport(row, rng, day);
      if (rng.chance(300)) row.set("idFattura", Value::long_(rng.between(1, plan.header_count(DocKind::Fatture))));
      if (rng.chance(300)) row.set_text("Note1", short_note(rng));
      if (rng.chance(100)) row.set_text("Note2", short_note(rng));
      extended_description(row, rng, id);
      const bool printed_destination = rng.chance(300);
      row.set("DestinazioneInBolla", Value::boolean(printed_destination));
      if (printed_destination || rng.chance(50)) {  // address fields are sometimes left from an earlier choice
        const vocabulary::Town& town = rng.pick(vocabulary::towns());
        row.set_text("DDT_RagioneSociale1", std::u16string(rng.pick(vocabulary::trades())) + u" " +
                                                std::u16string(rng.pick(vocabulary::surnames())));
        if (rng.chance(300)) row.set_text("DDT_RagioneSociale2", u"Magazzino ricevimento merci");
        row.set_text("DDT_Indirizzo", std::u16string(rng.pick(vocabulary::streets())) + u", " + digits(rng.between(1, 120)));
        if (rng.chance(100)) row.set_text("DDT_Indirizzo2", u"Cancello 3");
        row.set_text("DDT_CAP", std::u16string(town.cap));
        row.set_text("DDT_Citta", std::u16string(town.name));
        row.set_text("DDT_Provincia", std::u16string(town.province));
      }
      if (rng.chance(50)) row.set_text("LetteraDopoNumero", u"A");
      row.set("FatturareDDT", Value::boolean(rng.chance(700)));
      row.set_text("UMPeso", u"kg");
      row.set("PrezziUnitariIVACompresa", Value::boolean(rng.chance(100)));
      if (rng.chance(100)) row.set("idFattAcc", Value::long_(rng.between(1, plan.header_count(DocKind::FattAcc))));
      row.set("StampaPrezzi", Value::boolean(rng.chance(400)));
      break;
    }
    case DocKind::OrdCli:
    case DocKind::Preventivi:
    case DocKind::DocGen1:
    case DocKind::OrdForn: {
      if (kind != DocKind::OrdForn) {
        if (rng.chance(200)) row.set("idFattura", Value::long_(rng.between(1, plan.header_count(DocKind::Fatture))));
        if (rng.chance(500)) row.set("ConsegnaPrevista", Value::datetime({static_cast<double>(day + rng.between(3, 60))}));
        if (kind == DocKind::Preventivi || rng.chance(100)) row.set_text("ValiditaOfferta", u"30 giorni dalla data dell'offerta");
        if (rng.chance(150)) row.set("idBolla", Value::long_(rng.between(1, plan.header_count(DocKind::Bolle))));
      }
      if (rng.chance(300)) row.set_text("Note1", short_note(rng));
      if (rng.chance(150)) row.set_text("Note2", short_note(rng));
      if (rng.chance(80)) row.set_text("Note3", short_note(rng));
      row.set("StampaNote", Value::boolean(rng.chance(300)));
      extended_description(row, rng, id);
      if (kind == DocKind::OrdCli) {
        const bool done = rng.chance(600);
        row.set("Evaso", Value::boolean(done));
        if (done) row.set("DataEvasione", Value::datetime({static_cast<double>(day + rng.between(1, 45))}));
        row.set("IgnoraBolleFatture", Value::boolean(rng.chance(50)));
        row.set("Impegnato", Value::boolean(rng.chance(700)));
      } else if (kind == DocKind::Preventivi) {
        if (rng.chance(250)) row.set("idOrdCli", Value::long_(rng.between(1, plan.header_count(DocKind::OrdCli))));
      } else if (kind == DocKind::DocGen1) {
        row.set("Scaricato", Value::boolean(rng.chance(500)));
      } else {
        row.set("Caricato", Value::boolean(rng.chance(600)));
      }
      break;
    }
  }
  out.emit(row);
}

void rows_of(TableEmitter& out, RowBuilder& row, DocKind kind, std::int32_t document, std::int32_t& next_id) {
  const SamplePlan& plan = out.plan();
  Rng rng = plan.rng(std::string(doc_kind(kind).rows_table) + ".text", static_cast<std::uint64_t>(document));
  std::int16_t number = 1;
  for (const DocumentLine& line : plan.lines_of(kind, document)) {
    row.clear();
    row.set("idRigaDocumento", Value::long_(next_id++));
    row.set("idDocumento", Value::long_(document));
    if (rng.chance(10)) {  // a row of nulls but its keys
      out.emit(row);
      ++number;
      continue;
    }
    row.set("NumeroRiga", Value::integer(number++));
    if (line.item == 0) {
      // A text line: a remark between the goods, sometimes on several lines.
      row.set_text("Descrizione", short_note(rng));
    } else {
      const vocabulary::Family& family = SamplePlan::item_family(line.item);
      row.set_text("Codice", SamplePlan::item_code(line.item));
      row.set_text("Descrizione", std::u16string(family.goods[static_cast<std::size_t>(line.item / 5) % family.goods.size()]));
      row.set("Quantita", Value::double_(line.quantity));
      row.set("Sconto", Value::single(line.discount));
      row.set_text("UM", std::u16string(family.unit));
      row.set("idTabIva", Value::long_(line.vat));
      row.set("Prezzo", money(line.price_cents));
      if (line.discount != 0.0f) {
        row.set_text("ScontoTxt", rng.chance(300) ? digits(static_cast<std::int64_t>(line.discount)) + u"+0" : u"");
      }
    }
    out.emit(row);
  }
}

}  // namespace

void generate_documents(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  for (const DocKindInfo& info : doc_kinds()) {
    const std::int32_t count = plan.header_count(info.kind);
    RowBuilder headers = out.row(info.header_table);
    for (std::int32_t id = 1; id <= count; ++id) {
      if (SamplePlan::header_exists(info.kind, id)) header(out, headers, info.kind, id, plan.number_of(info.kind, id), 0, false);
    }
    // The missing-destination variant: invoice 15 without a destination, 16 with one that never existed.
    for (std::int32_t extra = 1; extra <= (info.kind == DocKind::FattAcc ? plan.extra_fattacc() : 0); ++extra) {
      header(out, headers, info.kind, count + extra, {kFirstYear + kYears - 1, 14 + extra},
             extra == 1 ? 0 : plan.never_allocated_clifor(), true);
    }
    RowBuilder rows = out.row(info.rows_table);
    std::int32_t next_row = 1;
    const std::int32_t last = count + (info.kind == DocKind::FattAcc ? plan.extra_fattacc() : 0);
    for (std::int32_t id = 1; id <= last; ++id) rows_of(out, rows, info.kind, id, next_row);
    rows_of(out, rows, info.kind, count + 1000, next_row);  // a document that never existed
    rows.clear();
    rows.set("idRigaDocumento", Value::long_(next_row));  // a row of nulls, belonging to nothing
    out.emit(rows);
  }
}

}  // namespace tarvik::archive_gen::sample
