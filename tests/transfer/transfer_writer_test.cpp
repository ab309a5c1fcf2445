// The transfer file as the importer reads it: exact bytes of each line kind, CR LF after every
// line, and a file that exists at its path only once complete.
#include "transfer/transfer_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "transfer/memo_end_marker.h"
#include "support/temp_dir.h"
#include "transfer/folder_files.h"
#include "transfer/transfer_error.h"

namespace tarvik::transfer {
namespace {

using archive::Currency;
using archive::DateTime;
using archive::Value;
using test::TempDir;
using testing::entries;
using testing::read_bytes;
using testing::write_bytes;

class TransferWriterTest : public ::testing::Test {
 protected:
  // Runs `write` on a new transfer file, closes it and returns its bytes.
  template <typename Write>
  std::string written(Write write) {
    const auto path = folder_ / "ProvaExport.txt";
    TransferWriter writer(path);
    write(writer);
    writer.close();
    EXPECT_EQ(entries(folder_.path()), std::vector<std::string>{"ProvaExport.txt"});
    return read_bytes(path);
  }

  TempDir folder_;
};

TEST_F(TransferWriterTest, HeaderLinesAndAnEmptyBlock) {
  const std::string bytes = written([](TransferWriter& w) {
    w.WriteNumberLine(1845);
    w.WriteTextLine("T");
    w.WriteTextLine("TabellaIVA");
    w.WriteNumberLine(0);
  });
  EXPECT_EQ(bytes, " 1845 \r\nT\r\nTabellaIVA\r\n 0 \r\n");
}

TEST_F(TransferWriterTest, NumberLinesArePadded) {
  const std::string bytes = written([](TransferWriter& w) {
    w.WriteNumberLine(25);
    w.WriteNumberLine(-5);
    w.WriteNumberLine(std::numeric_limits<std::int32_t>::max());
    w.WriteNumberLine(std::numeric_limits<std::int32_t>::min());
    w.WriteNumberLine(std::int16_t{0});
  });
  EXPECT_EQ(bytes, " 25 \r\n-5 \r\n 2147483647 \r\n-2147483648 \r\n 0 \r\n");
}

TEST_F(TransferWriterTest, MemoEndMarkerBytes) {
  const std::string bytes = written([](TransferWriter& w) { w.WriteTextLine(kMemoEndMarker); });
  const std::string expected =
      "\x40\x23\xA3\x24\x25\x26\x2F\x28\x29\x3D\x3F\x3C\x3E\x46\x49\x4E\x45\x20\x4D\x45\x4D\x4F"
      "\x40\x23\xA3\x24\x25\x26\x2F\x28\x29\x3D\x3F\x3C\x3E\x0D\x0A";
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(kMemoEndMarker.size(), 35u);
}

TEST_F(TransferWriterTest, OneLinePerValueEachEndingInCrLf) {
  const std::string bytes = written([](TransferWriter& w) {
    w.WriteTextLine("CliFor");
    w.WriteNumberLine(1);
    w.WriteValue(Value::long_(42), false);
    w.WriteValue(Value::text(u"Rossi & C.\r\nS.p.A."), false);
    w.WriteValue(Value(), false);
    w.WriteValue(Value::text(u""), false);
    w.WriteValue(Value::datetime(DateTime{37748.6041666667}), false);
    w.WriteValue(Value::currency(Currency{-5000}), false);
    w.WriteValue(Value::boolean(false), false);
    w.WriteValue(Value::byte(7), false);
    w.WriteValue(Value::single(0.25f), false);
  });
  EXPECT_EQ(bytes,
            "CliFor\r\n 1 \r\n42\r\nRossi & C.S.p.A.\r\n\r\n\r\n2003-05-07\r\n-.5\r\nF\r\n 7 \r\n"
            "0.25\r\n");
}

TEST_F(TransferWriterTest, RawMemosKeepTheirLineBreaksBeforeTheMarker) {
  const std::string marker = "@#\xA3$%&/()=?<>FINE MEMO@#\xA3$%&/()=?<>\r\n";
  const std::string bytes = written([](TransferWriter& w) {
    w.WriteValue(Value::text(u"A\r\nB\tC"), true);
    w.WriteTextLine(kMemoEndMarker);
    w.WriteValue(Value::text(u"ends with a break\r\n"), true);
    w.WriteTextLine(kMemoEndMarker);
    w.WriteValue(Value(), true);
    w.WriteTextLine(kMemoEndMarker);
    w.WriteValue(Value::text(u"città\u0007"), true);
    w.WriteTextLine(kMemoEndMarker);
  });
  EXPECT_EQ(bytes, "A\r\nB\tC\r\n" + marker + "ends with a break\r\n\r\n" + marker + "\r\n" + marker +
                       "citt\xE0\x07\r\n" + marker);
}

TEST_F(TransferWriterTest, LargeOutputComesOutWhole) {
  // Well past the buffer, so the file is written in several pieces.
  constexpr int kRecords = 200000;
  std::string expected;
  const std::string bytes = written([&](TransferWriter& w) {
    for (int i = 0; i < kRecords; ++i) {
      w.WriteValue(Value::long_(i), false);
      w.WriteTextLine(u"riga");
      expected += std::to_string(i) + "\r\nriga\r\n";
    }
  });
  EXPECT_EQ(bytes.size(), expected.size());
  EXPECT_TRUE(bytes == expected);
}

TEST_F(TransferWriterTest, NothingStandsAtThePathUntilClose) {
  const auto path = folder_ / "ProvaExport.txt";
  TransferWriter writer(path);
  writer.WriteTextLine("TabellaIVA");
  EXPECT_FALSE(std::filesystem::exists(path));
  writer.close();
  EXPECT_EQ(read_bytes(path), "TabellaIVA\r\n");
}

TEST_F(TransferWriterTest, CloseReplacesAnOlderFileWhichStaysWholeUntilThen) {
  const auto path = folder_ / "ProvaExport.txt";
  write_bytes(path, "an older run\r\n");
  TransferWriter writer(path);
  writer.WriteTextLine("new");
  EXPECT_EQ(read_bytes(path), "an older run\r\n");
  writer.close();
  EXPECT_EQ(read_bytes(path), "new\r\n");
  EXPECT_EQ(entries(folder_.path()), std::vector<std::string>{"ProvaExport.txt"});
}

TEST_F(TransferWriterTest, CloseAndDeleteLeavesNoTransferFile) {
  const auto path = folder_ / "ProvaExport.txt";
  write_bytes(path, "an older run\r\n");
  TransferWriter writer(path);
  writer.WriteTextLine("partial");
  writer.close_and_delete();
  EXPECT_TRUE(entries(folder_.path()).empty());
}

TEST_F(TransferWriterTest, AWriterLeftUnclosedLeavesNothingBehind) {
  {
    TransferWriter writer(folder_ / "ProvaExport.txt");
    writer.WriteTextLine("partial");
  }
  EXPECT_TRUE(entries(folder_.path()).empty());
}

TEST_F(TransferWriterTest, DeleteTransferFileWithoutAWriter) {
  const auto path = folder_ / "ProvaExport.txt";
  write_bytes(path, "an older run\r\n");
  DeleteTransferFile(path);
  EXPECT_TRUE(entries(folder_.path()).empty());
  DeleteTransferFile(path);  // nothing there: no error
}

TEST_F(TransferWriterTest, MissingFolderIsError76) {
  try {
    TransferWriter writer(folder_ / "no such folder" / "ProvaExport.txt");
    FAIL() << "created";
  } catch (const TransferError& e) {
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.description(), "Impossibile trovare il percorso");
  }
}

TEST_F(TransferWriterTest, AFolderAtThePathIsError75AtClose) {
  const auto path = folder_ / "ProvaExport.txt";
  std::filesystem::create_directory(path);
  std::filesystem::create_directory(path / "inside");
  TransferWriter writer(path);
  writer.WriteTextLine("TabellaIVA");
  try {
    writer.close();
    FAIL() << "closed";
  } catch (const TransferError& e) {
    EXPECT_EQ(e.number(), 75);
    EXPECT_EQ(e.description(), "Errore di accesso al percorso/file");
  }
  EXPECT_EQ(entries(folder_.path()), std::vector<std::string>{"ProvaExport.txt"});
  EXPECT_TRUE(std::filesystem::is_directory(path / "inside"));
}

}  // namespace
}  // namespace tarvik::transfer

namespace tarvik::transfer {
namespace {

// What the observer heard: the kind of each change and what went into the file for it.
struct HeardChanges : ValueObserver {
  std::vector<std::pair<ChangeKind, std::string>> heard;
  void value_changed(const ValueChange& change) override {
    heard.emplace_back(change.kind, std::string(change.written));
  }
};

// The observer hears of exactly the values the file cannot carry as they stand: a text with a
// character outside Windows-1252 or a control removed, a number or date with no text of its kind.
// A value written as it is, a null, an empty text, a text of the code page's own characters are
// not changes.
TEST(TransferWriterObserver, HearsOfExactlyTheValuesChanged) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const std::vector<std::pair<Value, std::vector<std::pair<ChangeKind, std::string>>>> cases = {
      {Value(), {}},
      {Value::text(u""), {}},
      {Value::text(u"Caffè \u20AC 10"), {}},
      {Value::double_(1.5), {}},
      {Value::long_(-7), {}},
      {Value::datetime(archive::DateTime{45000.25}), {}},
      {Value::text(u"a\u0001b"), {{ChangeKind::TextChanged, "ab"}}},
      {Value::text(u"\u4F60 ok"), {{ChangeKind::TextChanged, "? ok"}}},
      {Value::double_(nan), {{ChangeKind::NotRepresentable, ""}}},
      {Value::single(infinity), {{ChangeKind::NotRepresentable, ""}}},
      {Value::datetime(archive::DateTime{1e9}), {{ChangeKind::NotRepresentable, ""}}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    HeardChanges observer;
    auto writer = TransferWriter::WithoutFile();
    writer->set_observer(&observer);
    writer->WriteValue(cases[i].first, false);
    EXPECT_EQ(observer.heard, cases[i].second) << "case " << i;
  }
}

}  // namespace
}  // namespace tarvik::transfer
