// Runs one export stage on an archive written for the test and gives back the transfer file's
// lines and the number of progress ticks.
#pragma once

#include <string>
#include <vector>

#include "support/export_harness.h"
#include "support/temp_dir.h"
#include "support/test_archive.h"

namespace tarvik::test {

struct StageOutput {
  std::vector<std::string> lines;
  int ticks = 0;
};

// The memo end marker as its Windows-1252 bytes.
inline const std::string kMarkerLine = "@#\xA3$%&/()=?<>FINE MEMO@#\xA3$%&/()=?<>";

template <typename Stage>
StageOutput run_stage(const std::vector<TestTable>& tables, Stage stage,
                      const exporters::ConditionCodeList& condition_codes = {}) {
  TempDir dir;
  const auto path = dir / "Tarvik.mdb";
  write_archive(path, tables);
  ExportHarness harness(path);
  harness.codes = condition_codes;
  stage(harness);
  StageOutput out;
  out.lines = harness.lines();
  out.ticks = harness.ticks;
  return out;
}

// The lines of a block: its name line, its count line, then the records' lines.
inline std::vector<std::string> block(const std::string& name, const std::string& count_line,
                                      std::vector<std::vector<std::string>> records = {}) {
  std::vector<std::string> lines = {name, count_line};
  for (auto& record : records) lines.insert(lines.end(), record.begin(), record.end());
  return lines;
}

inline std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace tarvik::test
