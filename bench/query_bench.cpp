// Runs SQL texts against an archive the way the exporters do (snapshot, move last and first, every
// field of every row read forward) and prints, per query, its rows, time, rows per second, the
// heap the open record set holds at its end (its hash indexes and kept rows), and the peak resident
// memory of a process that ran only that query (which counts the page caches the query filled). A benchmark, not a test.
//
//   query_bench ARCHIVE [QUERIES_FILE]   (default: the exporters' texts of tests/sql)
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "archive/archive_error.h"
#include "archive/database.h"

namespace {

std::vector<std::string> read_queries(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> queries;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') queries.push_back(line);
  }
  return queries;
}

void run_one(const std::string& archive, const std::string& sql) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  long long rows = 0;
  std::size_t heap = 0;
  try {
    auto db = tarvik::archive::Database::open(archive);
    auto rs = db->open_snapshot(sql);
    if (!(rs->bof() && rs->eof())) {
      rs->move_last();
      rs->move_first();
    }
    const std::size_t fields = rs->fields().size();
    for (; !rs->eof(); rs->move_next()) {
      for (std::size_t i = 0; i < fields; ++i) rs->field(i);
      ++rows;
    }
    const struct mallinfo2 m = mallinfo2();
    heap = m.uordblks + m.hblkhd;
  } catch (const tarvik::archive::ArchiveError& e) {
    std::printf("%-8s %10s %10s %12s %8s %8s  %s  [Errore %d]\n", "-", "-", "-", "-", "-", "-", sql.c_str(),
                e.number());
    return;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-8s %10lld %10.3f %12.0f %8.1f %8ld  %s\n", "ok", rows, seconds, seconds > 0 ? rows / seconds : 0.0,
              static_cast<double>(heap) / (1 << 20), usage.ru_maxrss / 1024, sql.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: query_bench ARCHIVE [QUERIES_FILE]\n");
    return 2;
  }
  const std::string queries_file = argc > 2 ? argv[2] : TARVIK_QUERIES_FILE;
  std::printf("%-8s %10s %10s %12s %8s %8s  %s\n", "", "rows", "seconds", "rows/s", "heap MB", "RSS MB", "query");
  for (const std::string& sql : read_queries(queries_file)) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {  // one process per query, so its peak memory is its own
      run_one(argv[1], sql);
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
  return 0;
}
