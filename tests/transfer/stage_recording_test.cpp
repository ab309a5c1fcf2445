// A block recorded ahead and copied into the transfer file later gives the bytes writing it
// straight into the file gives, its count line included, whether the recording is kept in memory,
// in a scratch file or in both; the scratch file leaves nothing in the folder; the memory budget
// is kept.
#include "transfer/stage_recording.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "transfer/folder_files.h"
#include "transfer/transfer_error.h"
#include "transfer/transfer_writer.h"

namespace tarvik::transfer {
namespace {

using archive::Value;
using test::TempDir;
using testing::entries;
using testing::read_bytes;

// A block of many lines: more than one writer buffer, so the recording holds several pieces.
void write_records(TransferWriter& writer, int records) {
  for (int i = 0; i < records; ++i) {
    writer.WriteValue(Value::long_(i), false);
    writer.WriteValue(Value::text(u"riga \u00e8 " + std::u16string(i % 50, u'x')), false);
  }
}

constexpr int kRecords = 20000;
constexpr std::uint64_t kAnyRoom = std::uint64_t(1) << 40;

std::string written_directly(const TempDir& folder) {
  const auto path = folder / "Diretto.txt";
  TransferWriter writer(path);
  writer.WriteNumberLine(7);
  writer.WriteTextLine("CliFor");
  writer.WriteNumberLine(kRecords);
  write_records(writer, kRecords);
  writer.WriteTextLine("Agenti");
  writer.close();
  return read_bytes(path);
}

TEST(StageRecording, ARecordedBlockCopiedInGivesTheBytesWrittenDirectly) {
  TempDir folder;
  const std::string expected = written_directly(folder);
  // Everything in scratch files; the first piece in memory and the rest spilled; all in memory.
  for (const std::size_t budget : {std::size_t{0}, std::size_t{300 << 10}, std::size_t{64 << 20}}) {
    SCOPED_TRACE(budget);
    TempDir scratch;
    RecordingSpace space(scratch.path().string(), budget, kAnyRoom);
    StageRecording recording(&space);
    auto recorder = TransferWriter::Recording(recording);
    ASSERT_TRUE(recorder->counts_later());
    recorder->WriteTextLine("CliFor");
    recorder->WriteCountLater();
    write_records(*recorder, kRecords);
    recorder->FillCount(kRecords);
    recorder->close();
    EXPECT_EQ(recording.spilled_bytes() > 0, budget < (1 << 20));
#ifndef _WIN32
    // The scratch file has no name in the folder, even while it holds bytes. (Windows shows a
    // file opened to be deleted on close until it is closed.)
    EXPECT_TRUE(entries(scratch.path()).empty());
#endif

    const auto path = folder / "Copiato.txt";
    TransferWriter writer(path);
    EXPECT_FALSE(writer.counts_later());
    writer.WriteNumberLine(7);
    writer.WriteRecorded(recording);
    writer.WriteTextLine("Agenti");
    writer.close();
    EXPECT_EQ(read_bytes(path), expected);
    // Copied in, the recording has let its scratch file go.
    EXPECT_TRUE(entries(scratch.path()).empty());
  }
}

TEST(StageRecording, WithoutASpaceTheBytesAreDroppedAndTheCountKept) {
  StageRecording recording(nullptr);
  auto recorder = TransferWriter::Recording(recording);
  recorder->WriteTextLine("CliFor");
  recorder->WriteCountLater();
  write_records(*recorder, 100);
  recorder->FillCount(100);
  recorder->close();
  std::string bytes;
  std::vector<std::int32_t> counts;
  std::string read_buffer;
  recording.replay([&](std::string_view b) { bytes += b; }, [&](std::int32_t n) { counts.push_back(n); }, read_buffer);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(counts, std::vector<std::int32_t>{100});
}

TEST(StageRecording, TheSpaceLendsPiecesWithinItsBudgetAndReusesThoseGivenBack) {
  TempDir scratch;
  RecordingSpace space(scratch.path().string(), 3000, kAnyRoom);
  std::string a, b, c, d;
  EXPECT_TRUE(space.take_piece(a, 1000));
  EXPECT_TRUE(space.take_piece(b, 1000));
  EXPECT_TRUE(space.take_piece(c, 1000));
  EXPECT_FALSE(space.take_piece(d, 1000));
  EXPECT_GE(a.capacity(), 1000u);
  a = "bytes";
  const char* const kept = a.data();
  space.give_back(std::move(a));
  ASSERT_TRUE(space.take_piece(d, 1000));
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(d.data(), kept);  // the same memory again, not a new allocation
}

// Scratch files never take more of the disk than the space allows them between them: past it a
// recording fails as on a full disk, and what it took is given back.
TEST(StageRecording, ScratchFilesKeepWithinTheirRoomOnTheDisk) {
  TempDir scratch;
  RecordingSpace space(scratch.path().string(), 0, 600 << 10);
  {
    StageRecording first(&space);
    auto recorder = TransferWriter::Recording(first);
    recorder->WriteTextLine("CliFor");
    try {
      write_records(*recorder, kRecords);  // about a megabyte
      recorder->close();
      ADD_FAILURE() << "no error past the room";
    } catch (const TransferError& e) {
      EXPECT_EQ(e.number(), 61);
    }
    EXPECT_LE(first.spilled_bytes(), std::uint64_t(600 << 10));
    // The room is taken while the first recording holds it.
    StageRecording second(&space);
    auto other = TransferWriter::Recording(second);
    EXPECT_THROW(write_records(*other, kRecords), TransferError);
  }
  // Both gone, the room is free again: a recording of half a megabyte fits.
  StageRecording third(&space);
  auto recorder = TransferWriter::Recording(third);
  write_records(*recorder, kRecords / 3);
  EXPECT_NO_THROW(recorder->close());
  EXPECT_GT(third.spilled_bytes(), 0u);
}

}  // namespace
}  // namespace tarvik::transfer
