// The customer and supplier register (CliFor) and the agents' commission rules (Agenti).
// A few records of each kind are gone (deleted in Tarvik), so that documents, links and agents
// point at nothing; some customers name an agent that is not one, or one that is gone.
#include "awkward_texts.h"
#include "sample_values.h"
#include "table_emitter.h"

namespace tarvik::archive_gen::sample {

using archive::Value;

namespace {

std::u16string mail_name(std::u16string_view name) {
  std::u16string out;
  for (char16_t c : name) {
    if (c >= u'A' && c <= u'Z') out += static_cast<char16_t>(c - u'A' + u'a');
    else if (c >= u'a' && c <= u'z') out += c;
  }
  return out.empty() ? u"info" : out;
}

std::u16string fiscal_code(Rng& rng) {
  static constexpr std::u16string_view kLetters = u"ABCDEFGHILMNPRSTUVZ";
  std::u16string code;
  for (int i = 0; i < 6; ++i) code += kLetters[rng.below(static_cast<std::uint32_t>(kLetters.size()))];
  code += digits(rng.between(40, 99), 2);
  code += kLetters[rng.below(12)];
  code += digits(rng.between(1, 71), 2);
  code += kLetters[rng.below(static_cast<std::uint32_t>(kLetters.size()))];
  code += digits(rng.between(100, 999), 3);
  code += kLetters[rng.below(static_cast<std::uint32_t>(kLetters.size()))];
  return code;
}

std::u16string phone(Rng& rng) { return u"0" + digits(rng.between(10, 999)) + u"/" + digits(rng.between(100000, 9999999)); }

void address(RowBuilder& row, Rng& rng, std::string_view prefix, bool foreign) {
  const std::string p(prefix);
  row.set_text(p + "Indirizzo", std::u16string(rng.pick(vocabulary::streets())) + u", " + digits(rng.between(1, 250)));
  if (rng.chance(150)) row.set_text(p + "Indirizzo2", u"Scala " + std::u16string(1, static_cast<char16_t>(u'A' + rng.below(4))) + u", int. " + digits(rng.between(1, 30)));
  if (foreign) {
    row.set_text(p + "Citta", std::u16string(rng.pick(vocabulary::foreign_towns()).name));
    row.set_text(p + "Provincia", u"EE");
  } else {
    const vocabulary::Town& town = rng.pick(vocabulary::towns());
    row.set_text(p + "CAP", std::u16string(town.cap));
    row.set_text(p + "Citta", std::u16string(town.name));
    row.set_text(p + "Provincia", std::u16string(town.province));
  }
}

// Records whose content is fixed by their id, whatever the seed, so that every sample holds them.
MemoSize showcase_note(std::int32_t id, Rng& rng) {
  switch (id) {
    case 4: return MemoSize::VeryLong;
    case 6: return MemoSize::MultiPage;
    case 7: return MemoSize::Foreign;
    case 8: return MemoSize::Empty;
    case 9: return MemoSize::MultiLine;
    case 12: return MemoSize::OnePage;
    case 13: return MemoSize::Inline;
    default: return draw_memo_size(rng, true);
  }
}

void clifor_record(TableEmitter& out, RowBuilder& row, std::int32_t id) {
  const SamplePlan& plan = out.plan();
  Rng rng = plan.rng("CliFor", static_cast<std::uint64_t>(id));
  row.clear();
  row.set("idCliFor", Value::long_(id));
  // A record with nothing but its key: every one in fifty, and always the second.
  if (id == 2 || (id > 13 && rng.chance(20))) {
    out.emit(row);
    return;
  }
  const bool supplier = SamplePlan::is_supplier(id);
  const bool agent = SamplePlan::is_agent(id);
  const bool foreign = id == 11 || rng.chance(15);
  const bool person = agent || (!supplier && rng.chance(350));
  row.set_text("ClienteOFornitore", supplier ? u"F" : agent ? u"A" : u"C");

  std::u16string surname(rng.pick(vocabulary::surnames()));
  std::u16string first(rng.pick(vocabulary::first_names()));
  std::u16string name;
  std::u16string short_name;
  if (foreign) {
    name = std::u16string(rng.pick(vocabulary::foreign_companies()));
    short_name = name.substr(0, name.find(u' '));
  } else if (person) {
    name = surname + u" " + first;
    short_name = surname;
  } else {
    const std::u16string trade(rng.pick(vocabulary::trades()));
    name = trade + u" " + surname + u" " + std::u16string(rng.pick(vocabulary::company_forms()));
    short_name = trade + u" " + surname;
  }
  if (id == 9) name = with_control_characters(name, rng);
  row.set_text("NomeAbituale", short_name);
  row.set_text("RagioneSociale1", name);
  if (!person && rng.chance(200)) row.set_text("RagioneSociale2", u"di " + first + u" " + surname + u" & C.");
  address(row, rng, "", foreign);
  const std::u16string vat_number = digits(rng.between(0, 99999999), 8) + digits(rng.between(0, 999), 3);
  if (!person) row.set_text("PartitaIVA", vat_number);
  row.set_text("CodiceFiscale", person ? fiscal_code(rng) : vat_number);
  row.set_text("Telefono1", phone(rng));
  if (rng.chance(300)) row.set_text("Telefono2", u"335 " + digits(rng.between(1000000, 9999999)));
  if (rng.chance(500)) row.set_text("Fax", phone(rng));
  if (!rng.chance(100)) row.set("FasciaDiPrezzo", Value::byte(static_cast<std::uint8_t>(rng.between(1, 4))));
  const MemoSize note = showcase_note(id, rng);
  if (id < 14 || !rng.chance(300)) row.set_text("Note", memo_text(rng, note));
  row.set("Tipo", Value::integer(static_cast<std::int16_t>(person ? 1 : 0)));
  const std::uint32_t condition = rng.below(100);
  if (condition < 85) row.set("idCondPag", Value::long_(rng.between(1, kPaymentConditionIds)));
  else if (condition < 90) row.set("idCondPag", Value::long_(kMissingPaymentCondition));
  if (rng.chance(400)) row.set_text("Vettore1", std::u16string(rng.pick(vocabulary::carriers())));
  if (rng.chance(100)) row.set_text("Vettore2", std::u16string(rng.pick(vocabulary::carriers())));
  if (!supplier && rng.chance(700)) {
    const vocabulary::Town& town = rng.pick(vocabulary::towns());
    row.set_text("BancaAppoggio", std::u16string(rng.pick(vocabulary::banks())));
    row.set_text("BancaAppoggio2", u"Ag. " + std::u16string(town.name));
    row.set_text("ABI", digits(rng.between(1000, 9999), 5));
    row.set_text("CAB", digits(rng.between(10000, 99999), 5));
  }
  row.set("Annullato", Value::boolean(rng.chance(50)));
  if (rng.chance(600)) row.set_text("E-Mail", mail_name(short_name) + (rng.chance(500) ? u"@libero.it" : u"@tiscali.it"));
  row.set("idTabIva", Value::long_(foreign ? 5 : rng.chance(950) ? 1 : rng.between(2, kVatRates)));
  if (rng.chance(100)) {
    row.set_text("SLRagioneSociale1", name);
    row.set_text("SLRagioneSociale2", u"Sede legale");
    address(row, rng, "SL", false);
  }
  if (rng.chance(300)) row.set_text("NoteInFattura", memo_text(rng, draw_memo_size(rng, false)));
  if (rng.chance(200)) row.set_text("NoteInPreventivo", memo_text(rng, draw_memo_size(rng, false)));
  row.set("ScontoAbituale", Value::single(rng.chance(700) ? 0.0f : static_cast<float>(rng.between(1, 8)) * 2.5f));
  if (rng.chance(400)) row.set("SpeseBanca", money(rng.between(0, 5) * 50 + 5));
  if (rng.chance(300)) row.set("SpeseTrasporto", money(rng.between(5, 80) * 100));
  if (rng.chance(300)) row.set("idVettore1", Value::long_(rng.between(1, kCarriers)));
  if (!supplier && !agent) {
    const std::uint32_t link = rng.below(100);
    if (link < 50) row.set("idAgente", Value::long_(plan.any_agent(rng)));  // some are gone
    else if (link < 55) row.set("idAgente", Value::long_(plan.any_supplier(rng)));  // not an agent
    else if (link < 58) row.set("idAgente", Value::long_(plan.never_allocated_clifor()));
  }
  if (rng.chance(200)) row.set_text("NoteInBolla", memo_text(rng, rng.chance(500) ? MemoSize::Short : MemoSize::MultiLine));
  row.set("DataInserimento", Value::datetime({static_cast<double>(day_number(1998, 1, 1) + rng.between(0, 2900))}));
  out.emit(row);
}

void agent_rules(RowBuilder& row, Rng& rng, std::int32_t id) {
  row.clear();
  row.set("idCliFor", Value::long_(id));
  // 0 a fixed commission, 1 by turnover bands, 2 by item.
  const int kind = id == SamplePlan::agent(0) ? 0 : rng.between(0, 2);
  row.set("TipoProvvigione", Value::byte(static_cast<std::uint8_t>(kind)));
  row.set("ProvvFissa", Value::single(kind == 0 ? static_cast<float>(rng.between(2, 12)) : 0.0f));
  if (kind != 1) return;
  const int bands = rng.between(2, 8);
  std::int64_t limit = 0;
  for (int band = 1; band <= bands; ++band) {
    limit += rng.between(5, 50) * 100000;  // cents
    const std::string n = std::to_string(band);
    row.set("Fascia" + n + "Fin", money(limit));
    row.set("Fascia" + n + "Provv", Value::single(static_cast<float>(band) * 1.5f));
  }
}

}  // namespace

void generate_register(TableEmitter& out) {
  const SamplePlan& plan = out.plan();
  RowBuilder clifor = out.row("CliFor");
  for (std::int32_t id = 1; id <= plan.clifor_ids(); ++id) {
    if (plan.clifor_exists(id)) clifor_record(out, clifor, id);
  }
  // Every agent keeps its rules, also those whose register record is gone; and some rules
  // belong to ids the register never had.
  RowBuilder agents = out.row("Agenti");
  for (std::int32_t n = 0; n < plan.agent_count(); ++n) {
    const std::int32_t id = SamplePlan::agent(n);
    Rng rng = plan.rng("Agenti", static_cast<std::uint64_t>(id));
    agent_rules(agents, rng, id);
    out.emit(agents);
  }
  for (int n = 0; n < plan.options().scale; ++n) {
    const std::int32_t id = plan.never_allocated_clifor() + 1 + n;
    Rng rng = plan.rng("Agenti", static_cast<std::uint64_t>(id));
    agent_rules(agents, rng, id);
    out.emit(agents);
  }
  agents.clear();
  agents.set("idCliFor", Value::long_(plan.never_allocated_clifor() + 1 + plan.options().scale));
  out.emit(agents);  // rules of nulls
}

}  // namespace tarvik::archive_gen::sample
