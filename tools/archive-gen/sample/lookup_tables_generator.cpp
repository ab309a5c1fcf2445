// The nine small lookup tables. They do not grow with the scale: Tarvik's users kept a handful of
// VAT codes and payment conditions whatever the size of their business. Each holds one record
// with every field but its key null and, where it has a description, one with control characters.
#include "awkward_texts.h"
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

// A description table: idRecord and Descrizione, from a word list, then a record of nulls.
void description_table(TableEmitter& out, std::string_view table, vocabulary::Words words) {
  Rng rng = out.plan().rng(table);
  RowBuilder row = out.row(table);
  std::int32_t id = 1;
  for (std::u16string_view word : words) {
    row.clear();
    row.set("idRecord", Value::long_(id));
    row.set_text("Descrizione", id == 2 ? with_control_characters(word, rng) : std::u16string(word));
    if (table == "TabellaCausaliTrasporto") row.set("FatturareDDT", Value::boolean(id % 3 != 2));
    out.emit(row);
    ++id;
  }
  row.clear();
  row.set("idRecord", Value::long_(id));
  out.emit(row);
}

void banks(TableEmitter& out) {
  Rng rng = out.plan().rng("BancheAppoggio");
  RowBuilder row = out.row("BancheAppoggio");
  std::int32_t id = 1;
  for (std::u16string_view bank : vocabulary::banks()) {
    const vocabulary::Town& town = rng.pick(vocabulary::towns());
    row.clear();
    row.set("idBanca", Value::long_(id++));
    row.set_text("BancaAppoggio", std::u16string(bank));
    row.set_text("BancaAppoggio2", u"Filiale di " + std::u16string(town.name));
    row.set_text("ABI", digits(rng.between(1000, 9999), 5));
    row.set_text("CAB", digits(rng.between(10000, 99999), 5));
    out.emit(row);
  }
  row.clear();
  row.set("idBanca", Value::long_(id));
  out.emit(row);
}

void payment_conditions(TableEmitter& out) {
  Rng rng = out.plan().rng("CondPag");
  RowBuilder row = out.row("CondPag");
  const auto terms = vocabulary::payment_terms();
  std::size_t term = 0;
  for (std::int32_t id = 1; id <= kPaymentConditionIds; ++id) {
    if (id == kDeletedPaymentCondition) continue;  // deleted: references to it stay behind
    row.clear();
    row.set("idCondPag", Value::long_(id));
    const std::u16string_view description = terms[term++ % terms.size()];
    if (id != kPaymentConditionIds) row.set_text("Descrizione", std::u16string(description));
    const int instalments = id == kPaymentConditionIds ? 0 : rng.between(1, 4);
    for (int i = 1; i <= instalments; ++i) {
      const std::string n = std::to_string(i);
      row.set("Giorni" + n, Value::integer(static_cast<std::int16_t>(30 * i)));
      row.set("FineMese" + n, Value::boolean(rng.chance(600)));
      row.set("Percentuale" + n, Value::single(100.0f / static_cast<float>(instalments)));
    }
    if (id != kPaymentConditionIds) {
      row.set("RicevutaBancaria", Value::boolean(description.find(u"Ri.Ba.") != std::u16string_view::npos));
    }
    out.emit(row);
  }
}

void vat_codes(TableEmitter& out) {
  RowBuilder row = out.row("TabellaIVA");
  const auto descriptions = vocabulary::vat_descriptions();
  for (std::int32_t id = 1; id <= kVatRates; ++id) {
    row.clear();
    row.set("idTabIva", Value::long_(id));
    row.set_text("Descrizione", std::u16string(descriptions[static_cast<std::size_t>(id - 1)]));
    row.set("Aliquota", Value::double_(vat_rate(id)));
    out.emit(row);
  }
}

void carriers(TableEmitter& out) {
  Rng rng = out.plan().rng("TabellaVettori");
  RowBuilder row = out.row("TabellaVettori");
  std::int32_t id = 1;
  for (std::u16string_view carrier : vocabulary::carriers()) {
    const vocabulary::Town& town = rng.pick(vocabulary::towns());
    row.clear();
    row.set("idRecord", Value::long_(id));
    row.set_text("Descrizione", std::u16string(carrier));
    row.set_text("Descrizione2", std::u16string(rng.pick(vocabulary::streets())) + u", " + digits(rng.between(1, 200)));
    row.set_text("Descrizione3", std::u16string(town.cap) + u" " + std::u16string(town.name) + u" (" +
                                     std::u16string(town.province) + u")");
    if (id != 3) row.set_text("Descrizione4", u"Tel. 0" + digits(rng.between(100000000, 999999999)));
    row.set_text("PartitaIVA", digits(rng.between(0, 99999999), 8) + digits(rng.between(0, 999), 3));
    if (id % 2 == 1) {
      row.set_text("IscrizioneAlbo", std::u16string(town.province) + u"/" + digits(rng.between(1000, 9999999)) + u"/A");
    }
    out.emit(row);
    ++id;
  }
  row.clear();
  row.set("idRecord", Value::long_(id));
  out.emit(row);
}

void journal_causals(TableEmitter& out) {
  RowBuilder row = out.row("CausPrim");
  std::int32_t id = 1;
  for (std::u16string_view causal : vocabulary::journal_causals()) {
    row.clear();
    row.set("idCausPrim", Value::long_(id));
    row.set_text("Descrizione", std::u16string(causal));
    // 0 neither, 1 a collection, 2 a payment.
    const bool collection = causal == u"Incasso" || causal == u"Fattura di vendita";
    const bool payment = causal == u"Pagamento" || causal == u"Fattura di acquisto";
    if (id != kJournalCausals) row.set("PagamentoIncasso", Value::byte(collection ? 1 : payment ? 2 : 0));
    out.emit(row);
    ++id;
  }
  row.clear();
  row.set("idCausPrim", Value::long_(id));
  out.emit(row);
}

void current_accounts(TableEmitter& out) {
  static constexpr std::u16string_view kAccounts[] = {u"Banca Intesa c/c 1234/56", u"UniCredit c/c 000987654",
                                                      u"Cassa contanti", u"Conto €uro Poste Italiane"};
  RowBuilder row = out.row("TabellaContiCorrenti");
  for (std::int32_t id = 1; id <= kCurrentAccounts; ++id) {
    row.clear();
    row.set("idRecord", Value::long_(id));
    row.set_text("Descrizione", std::u16string(kAccounts[id - 1]));
    out.emit(row);
  }
}

}  // namespace

void generate_lookup_tables(TableEmitter& out) {
  description_table(out, "TabellaAspettoBeni", vocabulary::goods_appearances());
  banks(out);
  description_table(out, "TabellaCausaliTrasporto", vocabulary::transport_reasons());
  payment_conditions(out);
  vat_codes(out);
  description_table(out, "TabellaProduttori", vocabulary::producers());
  carriers(out);
  journal_causals(out);
  current_accounts(out);
}

}  // namespace tarvik::archive_gen::sample
