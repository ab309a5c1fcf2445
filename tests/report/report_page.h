// Reads a transfer report page back the way another program would: the summary table by its
// fixed markup, and each block's lists by their table classes. Entities are decoded, so the
// texts compare with what the archive holds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace tarvik::test::report_page {

struct SummaryRow {
  std::string block;
  std::int64_t written = 0, left_out = 0, changed = 0;
};

// One pass, so "&amp;lt;" gives "&lt;" as a browser shows it.
inline std::string decoded(const std::string& text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, plain] : kEntities) {
      if (text.compare(i, std::strlen(entity), entity) == 0) {
        out += plain;
        i += std::strlen(entity);
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

inline std::vector<SummaryRow> summary(const std::string& page) {
  const std::size_t start = page.find("<table id=\"riepilogo\">");
  EXPECT_NE(start, std::string::npos) << "no summary table";
  const std::string table = page.substr(start, page.find("</table>", start) - start);
  static const std::regex row(
      R"re(<tr data-blocco="([^"]*)" data-scritti="(\d+)" data-esclusi="(\d+)" data-modificati="(\d+)")re");
  std::vector<SummaryRow> rows;
  for (std::sregex_iterator m(table.begin(), table.end(), row), end; m != end; ++m)
    rows.push_back({decoded((*m)[1]), std::stoll((*m)[2]), std::stoll((*m)[3]), std::stoll((*m)[4])});
  return rows;
}

// The section of one block, empty when the page has none for it.
inline std::string section(const std::string& page, const std::string& block) {
  const std::size_t start = page.find("<section id=\"blocco-" + block + "\">");
  if (start == std::string::npos) return {};
  return page.substr(start, page.find("</section>", start) - start);
}

// The cells of each row of the list table of class `list` ("escluse", "doppie", "modificati").
inline std::vector<std::vector<std::string>> list(const std::string& section_text, const std::string& list) {
  std::vector<std::vector<std::string>> rows;
  const std::size_t start = section_text.find("<table class=\"" + list + "\">");
  if (start == std::string::npos) return rows;
  const std::string table = section_text.substr(start, section_text.find("</table>", start) - start);
  static const std::regex row(R"re(<tr>((?:<td>[^<]*</td>)+)</tr>)re");
  static const std::regex cell(R"re(<td>([^<]*)</td>)re");
  for (std::sregex_iterator m(table.begin(), table.end(), row), end; m != end; ++m) {
    const std::string cells = (*m)[1];
    std::vector<std::string> values;
    for (std::sregex_iterator c(cells.begin(), cells.end(), cell); c != end; ++c) values.push_back(decoded((*c)[1]));
    rows.push_back(std::move(values));
  }
  return rows;
}

// The page without the lines that belong to one run only: the transfer file's path and size and
// the time of the export.
inline std::string without_run_lines(const std::string& page) {
  std::string kept;
  std::size_t start = 0;
  while (start < page.size()) {
    std::size_t end = page.find('\n', start);
    if (end == std::string::npos) end = page.size();
    const std::string line = page.substr(start, end - start);
    if (line.find("id=\"file-trasferimento\"") == std::string::npos &&
        line.find("id=\"dimensione-trasferimento\"") == std::string::npos &&
        line.find("id=\"data-esportazione\"") == std::string::npos)
      kept += line + "\n";
    start = end + 1;
  }
  return kept;
}

}  // namespace tarvik::test::report_page
