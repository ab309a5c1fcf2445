#include "sample_plan.h"

#include <cmath>

#include "sample_values.h"

namespace tarvik::archive_gen::sample {

namespace {

constexpr DocKindInfo kDocKinds[] = {
    {DocKind::FattAcc, "TestataFattAcc", "RigheFattAcc", u"FA", 30},
    {DocKind::Fatture, "TestataFatture", "RigheFatture", u"F_", 80},
    {DocKind::Bolle, "TestataBolle", "RigheBolle", u"B_", 50},
    {DocKind::OrdCli, "TestataOrdCli", "RigheOrdCli", u"OC", 40},
    {DocKind::Preventivi, "TestataPreventivi", "RighePreventivi", u"PR", 40},
    {DocKind::DocGen1, "TestataDocGen1", "RigheDocGen1", u"DG", 20},
    {DocKind::OrdForn, "TestataOrdForn", "RigheOrdForn", u"OF", 30},
};

}  // namespace

std::span<const DocKindInfo> doc_kinds() { return kDocKinds; }
const DocKindInfo& doc_kind(DocKind kind) { return kDocKinds[static_cast<int>(kind)]; }

double vat_rate(std::int32_t vat_id) {
  static constexpr double kRates[] = {20, 10, 4, 0, 0, 0, 4.5};
  return vat_id >= 1 && vat_id <= kVatRates ? kRates[vat_id - 1] : 0;
}

SamplePlan::SamplePlan(const SampleOptions& options)
    : options_(options),
      clifor_ids_(200 * options.scale),
      item_count_(300 * options.scale),
      journal_count_(120 * options.scale) {}

bool SamplePlan::clifor_exists(std::int32_t id) const {
  if (id < 1 || id > clifor_ids_) return false;
  // Deleted: some customers, one agent (its Agenti row stays) and one supplier every 200.
  return id % 40 != 19 && id % 200 != 123 && id % 200 != 55;
}

std::int32_t SamplePlan::any_customer(Rng& rng) const {
  for (;;) {
    const std::int32_t id = rng.between(1, clifor_ids_);
    if (!is_supplier(id) && !is_agent(id)) return id;
  }
}

std::int32_t SamplePlan::existing_customer(Rng& rng) const {
  for (;;) {
    const std::int32_t id = any_customer(rng);
    if (clifor_exists(id)) return id;
  }
}

std::int32_t SamplePlan::existing_supplier(Rng& rng) const {
  for (;;) {
    const std::int32_t id = any_supplier(rng);
    if (clifor_exists(id)) return id;
  }
}

const vocabulary::Family& SamplePlan::item_family(std::int32_t n) {
  const auto families = vocabulary::families();
  return families[static_cast<std::size_t>(n) % families.size()];
}

std::u16string SamplePlan::item_code(std::int32_t n) {
  return std::u16string(item_family(n).code) + digits(n, 6);
}

std::int32_t SamplePlan::header_count(DocKind kind) const {
  return doc_kind(kind).headers_per_scale * options_.scale;
}

bool SamplePlan::header_exists(DocKind kind, std::int32_t id) {
  // Another residue per kind, so that a journal entry's lost invoice is not always the same id.
  return id % 20 != 19 - static_cast<int>(kind);
}

std::int32_t SamplePlan::first_of_year(DocKind kind, int year_index) const {
  // Ids are spread evenly over the years: the first id whose year index is `year_index`.
  const std::int64_t count = header_count(kind);
  return static_cast<std::int32_t>((year_index * count + kYears - 1) / kYears + 1);
}

DocumentNumber SamplePlan::number_of(DocKind kind, std::int32_t id) const {
  const std::int64_t count = header_count(kind);
  const int year_index = static_cast<int>((id - 1) * static_cast<std::int64_t>(kYears) / count);
  return {kFirstYear + year_index, id - first_of_year(kind, year_index) + 1};
}

std::int32_t SamplePlan::last_number(DocKind kind, int year) const {
  const int year_index = year - kFirstYear;
  return first_of_year(kind, year_index + 1) - first_of_year(kind, year_index);
}

std::vector<DocumentLine> SamplePlan::lines_of(DocKind kind, std::int32_t id) const {
  Rng rng = this->rng(doc_kind(kind).rows_table, static_cast<std::uint64_t>(id));
  std::vector<DocumentLine> lines(static_cast<std::size_t>(rng.between(1, 6)));
  for (DocumentLine& line : lines) {
    line.item = rng.chance(60) ? 0 : any_item(rng);
    line.quantity = rng.chance(700) ? rng.between(1, 24) : rng.between(1, 2000) / 8.0;
    line.price_cents = rng.between(10, 250000);
    line.discount = rng.chance(700) ? 0.0f : static_cast<float>(rng.between(1, 10) * 2.5);
    line.vat = rng.chance(800) ? 1 : rng.between(2, kVatRates);
  }
  return lines;
}

}  // namespace tarvik::archive_gen::sample
