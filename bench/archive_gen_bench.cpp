// Times JetWriter on one large table shaped like stock movements (autonumber, codes, texts,
// money, dates, an occasional long memo) and prints the time and the write speed.
// Usage: archive_gen_bench [ROWS] [OUT.mdb]   (defaults: 4 000 000 rows, a file in /tmp)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "jet_writer.h"

using tarvik::archive::Value;
using tarvik::archive::FieldType;
using namespace tarvik::archive_gen;

namespace {

std::u16string ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

int main(int argc, char** argv) try {
  const long rows = argc > 1 ? std::atol(argv[1]) : 4000000;
  const std::string path = argc > 2 ? argv[2] : "/tmp/archive_gen_bench.mdb";
  const TableSpec table{"MovMag",
                        {{"idMovMag", FieldType::Long, 0, true},
                         {"CodArt", FieldType::Text, 20, false},
                         {"Descrizione", FieldType::Text, 80, false},
                         {"Quantita", FieldType::Double, 0, false},
                         {"Prezzo", FieldType::Currency, 0, false},
                         {"DataMov", FieldType::DateTime, 0, false},
                         {"Causale", FieldType::Integer, 0, false},
                         {"Evaso", FieldType::Boolean, 0, false},
                         {"Note", FieldType::Memo, 0, false}},
                        {"idMovMag"}};
  const std::u16string long_note(1500, u'n');

  const auto start = std::chrono::steady_clock::now();
  JetWriter writer(path, {table});
  std::vector<Value> row(table.columns.size());
  for (long i = 1; i <= rows; ++i) {
    row[0] = Value();
    row[1] = Value::text(ascii("ART" + std::to_string(i % 50000)));
    row[2] = Value::text(ascii("Movimento di magazzino numero " + std::to_string(i)));
    row[3] = Value::double_(static_cast<double>(i % 97) / 4.0);
    row[4] = Value::currency({(i * 7919) % 100000000});
    row[5] = Value::datetime({36526.0 + static_cast<double>(i % 7300) + 0.5});
    row[6] = Value::integer(static_cast<std::int16_t>(i % 40));
    row[7] = Value::boolean(i % 2 == 0);
    row[8] = i % 500 == 0 ? Value::text(long_note) : i % 4 == 0 ? Value::text(u"consegna urgente") : Value();
    writer.add_row(0, row);
  }
  writer.finish();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
  std::printf("%ld rows, %.1f MB in %.2f s: %.1f MB/s, %.0f rows/s\n", rows, megabytes, seconds,
              megabytes / seconds, static_cast<double>(rows) / seconds);
  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "archive_gen_bench: %s\n", e.what());
  return 1;
}
