// The accounting journal: journal documents (PrimanotaDocumenti) and their movements. A journal
// document made from an invoice carries "F_" (TestataFatture) or "FA" (TestataFattAcc) in CreatoDa
// and the invoice's id in idDocumento; some of those invoices are gone. The first records show
// each case the export must tell apart, whatever the seed.
#include "awkward_texts.h"
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

struct Origin {
  std::u16string_view code;
  bool null_code = false;
  std::int32_t document = 0;  // 0: null
};

Origin origin_of(const SamplePlan& plan, std::int32_t id, Rng& rng) {
  const std::int32_t fatture = plan.header_count(DocKind::Fatture);
  const std::int32_t fattacc = plan.header_count(DocKind::FattAcc);
  switch (id) {
    case 1: return {u"F_", false, 1};                 // its invoice exists
    case 2: return {u"F_", false, 18};                // its invoice was deleted
    case 3: return {u"FA", false, fatture + 500};     // no invoice of either kind has this id
    case 4: return {u"FA", false, 1};                 // its accompanying invoice exists
    case 5: return {u"FA", false, 39};                // an id only TestataFatture has
    case 6: return {u"f_", false, fatture + 500};     // not the code: written as stored
    case 7: return {u"F_ ", false, fatture + 500};
    case 8: return {u"F_1", false, fatture + 500};
    case 9: return {u"", false, 0};
    case 10: return {u"F_", false, 0};                // a null link
    case 11: return {u"F_", false, 2};                // invoice of a deleted customer: still found
    case 12: return {u"B_", false, 1};
    default: break;
  }
  const std::uint32_t roll = rng.below(100);
  if (roll < 45) return {u"P_", false, 0};
  if (roll < 75) return {u"F_", false, rng.between(1, fatture)};
  if (roll < 90) return {u"FA", false, rng.between(1, fattacc)};
  return {u"B_", false, rng.between(1, plan.header_count(DocKind::Bolle))};
}

void journal_document(TableEmitter& out, RowBuilder& row, std::int32_t id) {
  const SamplePlan& plan = out.plan();
  Rng rng = plan.rng("PrimanotaDocumenti", static_cast<std::uint64_t>(id));
  const Origin origin = origin_of(plan, id, rng);
  row.clear();
  row.set("idPrimanota", Value::long_(id));
  // A record with no customer is never exported, so only there may CreatoDa be null.
  if (id == 13 || (id > 16 && rng.chance(15))) {
    out.emit(row);
    return;
  }
  if (origin.document != 0) row.set("idDocumento", Value::long_(origin.document));
  row.set_text("CreatoDa", std::u16string(origin.code));
  row.set("idCausPrim", Value::long_(rng.between(1, kJournalCausals)));
  row.set("PagamentoIncasso", Value::byte(static_cast<std::uint8_t>(rng.below(3))));
  const std::int32_t day = day_number(kFirstYear, 1, 1) + rng.between(0, 365 * kYears - 1);
  row.set("DataRegistrazione", Value::datetime({static_cast<double>(day)}));
  if (origin.document != 0 || rng.chance(500)) {
    row.set("DataDocumento", Value::datetime({static_cast<double>(day - rng.between(0, 15))}));
    row.set_text("NDocumento", digits(origin.document != 0 ? origin.document : rng.between(1, 999)));
  }
  const std::int64_t taxable = rng.between(100, 500000);
  const std::int64_t vat = taxable / 5;
  row.set("ImportoTotale", money(taxable + vat));
  row.set("ImportoIVA", money(vat));
  row.set("idCliFor", Value::long_(id <= 12 ? plan.existing_customer(rng) : plan.any_customer(rng)));
  MemoSize note = draw_memo_size(rng, true);
  if (id == 14) note = MemoSize::VeryLong;
  if (id == 15) note = MemoSize::MultiPage;
  if (id != 16 && (id < 16 || rng.chance(300))) row.set_text("Note", memo_text(rng, note));
  row.set("Tipo", Value::integer(static_cast<std::int16_t>(rng.between(1, 2))));
  const std::uint32_t condition = rng.below(100);
  if (condition < 80) row.set("idCondPag", Value::long_(rng.between(1, kPaymentConditionIds)));
  else if (condition < 85) row.set("idCondPag", Value::long_(kMissingPaymentCondition));
  row.set("idTabIva", Value::long_(rng.chance(900) ? 1 : rng.between(2, kVatRates)));
  row.set("Saldato", Value::boolean(rng.chance(600)));
  out.emit(row);
}

void movements_of(TableEmitter& out, RowBuilder& row, std::int32_t journal, std::int32_t& next_id) {
  Rng rng = out.plan().rng("PrimanotaMovimenti", static_cast<std::uint64_t>(journal));
  const int count = rng.between(1, 3);
  const std::int32_t due = day_number(kFirstYear, 1, 31) + rng.between(0, 365 * kYears - 1);
  for (int i = 0; i < count; ++i) {
    row.clear();
    row.set("idMovimento", Value::long_(next_id++));
    row.set("idPrimanota", Value::long_(journal));
    if (rng.chance(15)) {
      out.emit(row);
      continue;
    }
    row.set("DataScadenza", Value::datetime({static_cast<double>(due + 30 * i)}));
    row.set("Importo", money(rng.between(100, 300000)));
    const bool paid = rng.chance(650);
    if (paid) row.set("DataMovimento", Value::datetime({static_cast<double>(due + 30 * i + rng.between(-5, 20))}));
    if (paid && rng.chance(700)) row.set("idContoCorrente", Value::long_(rng.between(1, kCurrentAccounts)));
    if (paid && rng.chance(150)) row.set_text("NumAssegno", u"AB " + digits(rng.between(1000000, 9999999)));
    row.set("StampatoRIBA", Value::boolean(rng.chance(300)));
    out.emit(row);
  }
}

}  // namespace

void generate_journal(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder documents = out.row("PrimanotaDocumenti");
  for (std::int32_t id = 1; id <= plan.journal_count(); ++id) {
    if (SamplePlan::journal_exists(id)) journal_document(out, documents, id);
  }
  RowBuilder movements = out.row("PrimanotaMovimenti");
  std::int32_t next_id = 1;
  for (std::int32_t id = 1; id <= plan.journal_count(); ++id) movements_of(out, movements, id, next_id);
  movements_of(out, movements, plan.journal_count() + 1000, next_id);  // a journal document that never existed
  movements.clear();
  movements.set("idMovimento", Value::long_(next_id));
  out.emit(movements);
}

}  // namespace tarvik::archive_gen::sample
