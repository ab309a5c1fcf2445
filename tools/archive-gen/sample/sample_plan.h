// The shape of one sample archive, as pure functions of the options: which ids each table holds,
// which records were deleted (so that other tables point at nothing), who is a supplier or an
// agent, how documents are numbered and which lines each document has. Every generator asks the
// plan instead of remembering what another generator wrote, so no table is ever held in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "prng.h"
#include "sample_options.h"
#include "vocabulary.h"

namespace tarvik::archive_gen::sample {

enum class DocKind { FattAcc, Fatture, Bolle, OrdCli, Preventivi, DocGen1, OrdForn };

struct DocKindInfo {
  DocKind kind;
  std::string_view header_table;
  std::string_view rows_table;
  std::u16string_view code;  // TipoDocumento of layouts and counters
  int headers_per_scale;
};

// The seven kinds in the order the archive declares their tables.
std::span<const DocKindInfo> doc_kinds();
const DocKindInfo& doc_kind(DocKind kind);

// One line of a document: drawn from the document's own stream, so that its header (which sums
// the lines) and its rows agree.
struct DocumentLine {
  std::int32_t item = 0;        // item number; may name a deleted item or none (0: a text line)
  double quantity = 0;
  std::int64_t price_cents = 0;
  float discount = 0;           // percent
  std::int32_t vat = 1;         // TabellaIVA id
};

struct DocumentNumber {
  int year = 0;
  std::int32_t number = 0;
};

// The fixed lookup tables: ids and VAT rates that the other tables refer to.
inline constexpr std::int32_t kVatRates = 7;         // TabellaIVA ids 1..7
inline constexpr std::int32_t kPaymentConditionIds = 13;  // CondPag ids 1..13, 5 deleted
inline constexpr std::int32_t kDeletedPaymentCondition = 5;
inline constexpr std::int32_t kMissingPaymentCondition = 99;
inline constexpr std::int32_t kCarriers = 7;
inline constexpr std::int32_t kProducers = 10;
inline constexpr std::int32_t kJournalCausals = 8;
inline constexpr std::int32_t kCurrentAccounts = 4;
inline constexpr int kFirstYear = 2002;
inline constexpr int kYears = 4;
double vat_rate(std::int32_t vat_id);

class SamplePlan {
 public:
  explicit SamplePlan(const SampleOptions& options);

  const SampleOptions& options() const { return options_; }
  // A stream for a table or purpose, optionally for one record of it.
  Rng rng(std::string_view purpose, std::uint64_t index = 0) const {
    return Rng(options_.seed, stream_id(purpose), index);
  }

  // The register (CliFor): ids 1..clifor_ids(); every fifth a supplier, every fortieth (from 3) an
  // agent; a few of each were deleted.
  std::int32_t clifor_ids() const { return clifor_ids_; }
  bool clifor_exists(std::int32_t id) const;
  static bool is_supplier(std::int32_t id) { return id % 5 == 0; }
  static bool is_agent(std::int32_t id) { return id % 40 == 3; }
  std::int32_t supplier_count() const { return clifor_ids_ / 5; }
  static std::int32_t supplier(std::int32_t n) { return 5 * (n + 1); }
  std::int32_t agent_count() const { return (clifor_ids_ - 3) / 40 + 1; }
  static std::int32_t agent(std::int32_t n) { return 40 * n + 3; }
  std::int32_t any_customer(Rng& rng) const;  // may have been deleted
  std::int32_t existing_customer(Rng& rng) const;
  std::int32_t any_supplier(Rng& rng) const { return supplier(static_cast<std::int32_t>(rng.below(supplier_count()))); }
  std::int32_t existing_supplier(Rng& rng) const;
  std::int32_t any_agent(Rng& rng) const { return agent(static_cast<std::int32_t>(rng.below(agent_count()))); }
  // An id that no record of the register ever had.
  std::int32_t never_allocated_clifor() const { return clifor_ids_ + 100000; }

  // Items: numbers 1..item_count(); a few were deleted.
  std::int32_t item_count() const { return item_count_; }
  static bool item_exists(std::int32_t n) { return n % 50 != 17; }
  static const vocabulary::Family& item_family(std::int32_t n);
  static std::u16string item_code(std::int32_t n);
  std::int32_t any_item(Rng& rng) const { return rng.between(1, item_count_); }

  // Document headers: ids 1..header_count(kind); a few were deleted, their rows left behind.
  std::int32_t header_count(DocKind kind) const;
  static bool header_exists(DocKind kind, std::int32_t id);
  DocumentNumber number_of(DocKind kind, std::int32_t id) const;
  // The last number given in `year`: what the numbering counter holds.
  std::int32_t last_number(DocKind kind, int year) const;
  std::vector<DocumentLine> lines_of(DocKind kind, std::int32_t id) const;
  // The accompanying invoices that the missing-destination variant adds after the others.
  std::int32_t extra_fattacc() const { return options_.missing_destination ? 2 : 0; }

  // Journal documents: ids 1..journal_count(); a few were deleted, their movements left behind.
  std::int32_t journal_count() const { return journal_count_; }
  static bool journal_exists(std::int32_t id) { return id % 45 != 44; }

 private:
  std::int32_t first_of_year(DocKind kind, int year_index) const;

  SampleOptions options_;
  std::int32_t clifor_ids_;
  std::int32_t item_count_;
  std::int32_t journal_count_;
};

}  // namespace tarvik::archive_gen::sample
