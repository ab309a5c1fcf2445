#include "app/ahead/run_ahead.h"

#include "app/record_total.h"
#include "app/run_context.h"
#include "checks/check_queries.h"

namespace tarvik::app {

namespace {

// Counts the total's tables from the last: ComputeTotal counts from the first, taking the counts
// made here once it meets them, so the two threads share the tables instead of counting the same.
void CountTablesFromTheLast(archive::Database& archive) {
  const std::span<const std::string_view> tables = CountedTables();
  for (auto table = tables.rbegin(); table != tables.rend(); ++table) CountTableEarly(archive, *table);
}

}  // namespace

RunAhead::RunAhead(RunContext& context, const std::string& archive_path)
    : context_(context), second_(context.archive()), stages_(context, second_, archive_path) {
  second_.prepare(checks::kWithoutDestinationQuery);
  second_.prepare(checks::kLocationsQuery);
  second_.run([&archive = context.archive()] { CountTablesFromTheLast(archive); });
  stages_.start();
  context_.ahead = this;
}

RunAhead::~RunAhead() { stop(); }

void RunAhead::count_tables_meanwhile() {
  for (std::string_view table : CountedTables()) CountTableEarly(context_.archive(), table);
}

void RunAhead::write_stages() { stages_.WriteAll(); }

void RunAhead::look_up_left_out(report::BlockReport& block) {
  report::TransferReport& report = *context_.report;
  archive::Database& archive = context_.archive();
  second_.run([&report, &archive, &block] { report.FindLeftOut(archive, block); });
}

void RunAhead::finish() {
  stages_.stop();  // every stage is written: nothing is left to record
  second_.finish();
}

void RunAhead::stop() {
  stages_.stop();
  second_.stop();
  context_.ahead = nullptr;
}

}  // namespace tarvik::app
