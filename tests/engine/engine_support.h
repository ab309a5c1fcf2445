// Helpers of the engine tests: a private copy of a corpus archive (the engine locks what it
// opens, and test processes may run side by side), plain scans to compute expectations without
// the engine, and reading a whole record set the way the exporters do.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/database.h"
#include "archive/jet/jet_file.h"
#include "common/utf8.h"
#include "archive/value.h"

namespace tarvik::test {

using archive::Value;
using Rows = std::vector<std::vector<Value>>;

class ArchiveCopy {
 public:
  explicit ArchiveCopy(const std::string& corpus_relative) {
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             ("tarvik-engine-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".mdb"))
                .string();
    std::filesystem::copy_file(std::string(TARVIK_CORPUS_DIR) + "/" + corpus_relative, path_,
                               std::filesystem::copy_options::overwrite_existing);
  }
  ~ArchiveCopy() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ArchiveCopy(const ArchiveCopy&) = delete;
  ArchiveCopy& operator=(const ArchiveCopy&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline const char* kComptoir = "fxjollois-donnees/Comptoir2000.mdb";

// Every row of a table by a plain scan of the reader, in physical order.
inline Rows scan_table(const std::string& path, const std::string& table) {
  const auto file = archive::jet::JetFile::open(path);
  const auto def = file->table(table);
  auto scan = file->scan(def);
  Rows rows;
  std::vector<Value> row;
  while (scan.next(row)) rows.push_back(row);
  return rows;
}

inline std::size_t column_of(const std::string& path, const std::string& table, const std::string& column) {
  const auto file = archive::jet::JetFile::open(path);
  const auto def = file->table(table);
  for (std::size_t i = 0; i < def.columns.size(); ++i) {
    if (def.columns[i].name == column) return i;
  }
  throw std::runtime_error("no column " + column);
}

// Reads a whole record set as the exporters do: move last and first to make the count exact,
// then every row forward. Checks that the count matches the rows read.
inline Rows read_all(archive::Recordset& rs, std::int32_t* count = nullptr) {
  Rows rows;
  if (!(rs.bof() && rs.eof())) {  // not empty
    rs.move_last();
    rs.move_first();
  }
  const std::int32_t n = rs.record_count();
  while (!rs.eof()) {
    std::vector<Value> row;
    for (std::size_t i = 0; i < rs.fields().size(); ++i) row.push_back(rs.field(i));
    rows.push_back(std::move(row));
    rs.move_next();
  }
  if (count) *count = n;
  if (static_cast<std::size_t>(n) != rows.size()) throw std::runtime_error("record count differs from rows read");
  return rows;
}

inline Rows query(archive::Database& db, const std::string& sql) {
  auto rs = db.open_snapshot(sql);
  return read_all(*rs);
}

inline std::string utf8(const Value& v) { return tarvik::utf16_to_utf8(v.as_text()); }

inline Value text(const std::string& s) { return Value::text(tarvik::utf8_to_utf16(s)); }

// Case and accents set aside, the way the test data needs it (ASCII and a few Latin-1 letters);
// written apart from the engine's collation on purpose.
inline std::string folded(const Value& v) {
  std::string out;
  for (char16_t c : v.as_text()) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
    if (c == u'é' || c == u'è' || c == u'ê' || c == u'ë' || c == u'É') c = 'e';
    if (c == u'à' || c == u'â' || c == u'ä' || c == u'å' || c == u'Å' || c == u'á' || c == u'ã') c = 'a';
    if (c == u'ö' || c == u'ô' || c == u'ó') c = 'o';
    if (c == u'ü' || c == u'û' || c == u'ú') c = 'u';
    if (c == u'ç') c = 'c';
    if (c == u'ñ') c = 'n';
    if (c == u'í') c = 'i';
    if (c == '-' || c == '\'') continue;
    out.push_back(static_cast<char>(c < 0x80 ? c : '?'));
  }
  return out;
}

// Numbers of any width as a whole number (the test data's keys are whole numbers).
inline long long whole(const Value& v) {
  switch (v.kind()) {
    case archive::ValueKind::Byte: return v.as_byte();
    case archive::ValueKind::Integer: return v.as_integer();
    case archive::ValueKind::Long: return v.as_long();
    case archive::ValueKind::Currency: return v.as_currency().ten_thousandths / 10000;
    default: throw std::runtime_error("not a whole number");
  }
}

}  // namespace tarvik::test
