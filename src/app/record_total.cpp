#include "app/record_total.h"

#include <array>
#include <exception>

#include "app/run_error.h"
#include "transfer/ensure_count.h"

namespace tarvik::app {

namespace {

constexpr std::array<std::string_view, 34> kCountedTables = {
    "TabellaAspettoBeni", "BancheAppoggio",     "TabellaCausaliTrasporto", "CondPag",
    "TabellaIVA",         "TabellaProduttori",  "TabellaVettori",          "CausPrim",
    "TabellaContiCorrenti", "CliFor",           "Agenti",                  "Magazzino",
    "GiornaleMagazzino",  "LinkMagazzinoFornitori", "DistinteMagazzino",   "StampaPersonalizzata",
    "StampaPersonalizzata2", "TestataFattAcc",  "RigheFattAcc",            "TestataFatture",
    "RigheFatture",       "TestataBolle",       "RigheBolle",              "TestataOrdCli",
    "RigheOrdCli",        "TestataPreventivi",  "RighePreventivi",         "TestataDocGen1",
    "RigheDocGen1",       "TestataOrdForn",     "RigheOrdForn",            "PrimanotaDocumenti",
    "PrimanotaMovimenti", "ProgrDocumenti"};

}  // namespace

std::int32_t CountTableRecords(archive::Database& archive, std::string_view table) {
  auto records = archive.open_table(table);
  transfer::EnsureCount(*records);
  std::int32_t count = records->record_count();
  records->close();
  return count;
}

std::span<const std::string_view> CountedTables() { return kCountedTables; }

void CountTableEarly(archive::Database& archive, std::string_view table) {
  try {
    CountTableRecords(archive, table);
  } catch (const std::exception&) {
    // counted again, and the error met, where the total is made
  }
}

void ComputeTotal(RunContext& context) {
  context.total = 0;
  for (std::string_view table : kCountedTables) {
    std::int32_t sum = 0;
    const std::int32_t count = CountTableRecords(context.archive(), table);
    // The report compares each block with its table's rows; counting twice would cost a scan.
    if (context.report) context.report->table_counts()[std::string(table)] = count;
    if (__builtin_add_overflow(context.total, count, &sum))
      throw overflow();
    context.total = sum;
  }
}

}  // namespace tarvik::app
