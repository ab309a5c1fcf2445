// Full-scan throughput of the reader on the largest corpus tables, beside mdb-export's on the same
// tables measured in the same run.
// Usage: scan_bench [PATH_TO_tarvik-transfer [ARCHIVE TABLE]...]: more tables may follow the tool.
// With the tool's path, its `dump` (decoding and printing JSON) is timed too, which is the fair
// comparison with mdb-export (decoding and printing CSV).
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/jet/jet_file.h"
#include "archive/jet/page_source.h"
#include "archive/jet/usage_map.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Workload {
  std::string file;  // relative to the corpus, or absolute
  std::string table;
};

const Workload kWorkloads[] = {
    {"fxjollois-donnees/xtreme.mdb", "Orders Detail"},
    {"fxjollois-donnees/xtreme.mdb", "Orders"},
    {"fxjollois-donnees/MONDIAL.accdb", "City"},
    {"mdbtestdata/nwind.mdb", "Order Details"},
    {"fxjollois-donnees/Comptoir2000.mdb", "DetailCommande"},
};

// Median seconds of `runs` calls of `work`.
template <typename F>
double median_seconds(int runs, F work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

double time_command(const std::string& command, int runs) {
  return median_seconds(runs, [&] {
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

}  // namespace

int main(int argc, char** argv) {
  const std::string corpus = TARVIK_CORPUS_DIR;
  const std::string tool = argc > 1 ? argv[1] : "";
  const bool have_mdbtools = std::system("command -v mdb-export >/dev/null 2>&1") == 0;
  constexpr int kRuns = 11;

  std::printf("%-40s %7s %12s %10s %12s %12s %8s %8s\n", "table", "rows", "scan rows/s", "scan MB/s",
              "dump s", "mdb-export s", "scan x", "dump x");
  std::vector<Workload> workloads(std::begin(kWorkloads), std::end(kWorkloads));
  for (int i = 2; i + 1 < argc; i += 2) workloads.push_back({argv[i], argv[i + 1]});
  for (const Workload& w : workloads) {
    const std::string path = w.file.starts_with("/") ? w.file : corpus + "/" + w.file;
    // Tables named on the command line are the large ones: fewer runs.
    const int runs = &w - workloads.data() < std::ssize(kWorkloads) ? kRuns : 3;
    auto file = tarvik::archive::jet::JetFile::open(path);
    auto def = file->table(w.table);
    std::size_t rows = 0;
    double scan = median_seconds(runs, [&] {
      rows = 0;
      auto scan = file->scan(def);
      std::vector<tarvik::archive::Value> row;
      while (scan.next(row)) ++rows;
    });
    // Bytes the scan walks: the table's data pages (long values not counted).
    double table_mb = double(tarvik::archive::jet::read_usage_map(file->pages(), def.owned_pages_map).size()) *
                      double(file->pages().page_size()) / 1e6;
    double dump = tool.empty() ? 0 : time_command(quoted(tool) + " dump " + quoted(path) + " " + quoted(w.table), runs);
    double mdb = have_mdbtools ? time_command("mdb-export " + quoted(path) + " " + quoted(w.table), runs) : 0;
    std::printf("%-40s %7zu %12.0f %10.1f %12.4f %12.4f %8.1f %8.1f\n",
                (w.file.substr(w.file.find_last_of('/') + 1) + ":" + w.table).c_str(),
                rows, rows / scan, table_mb / scan, dump, mdb, mdb > 0 ? mdb / scan : 0,
                mdb > 0 && dump > 0 ? mdb / dump : 0);
  }
  std::printf("scan: in-process full scan with every value decoded; MB/s over the table's data pages.\n"
              "x: mdb-export's time divided by ours (higher is better).\n");
  return 0;
}
