// Reads handed to the system in batches give what one read at a time gives: the bytes at each
// piece's place, fewer at the end of the file, none past it, on any thread and for batches larger
// than the system takes in one call.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "platform/archive_file.h"
#include "support/temp_dir.h"

namespace tarvik::test {
namespace {

using platform::ArchiveFile;
using platform::PieceRead;

std::uint8_t byte_at(std::uint64_t i) { return static_cast<std::uint8_t>((i * 2654435761u) >> 13); }

void expect_batch_reads_as_single_reads(const ArchiveFile& file, std::uint64_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::uint64_t> place(0, size + 5000);  // some start past the end
  std::uniform_int_distribution<std::size_t> length(1, 20000);
  for (const std::size_t batch : {2u, 7u, 33u, 100u}) {
    std::vector<std::vector<std::uint8_t>> buffers(batch);
    std::vector<PieceRead> pieces(batch);
    for (std::size_t i = 0; i < batch; ++i) {
      buffers[i].assign(length(rng), 0xEE);
      pieces[i] = {place(rng), buffers[i].data(), buffers[i].size(), 12345};
    }
    file.read_pieces(pieces);
    for (std::size_t i = 0; i < batch; ++i) {
      const PieceRead& piece = pieces[i];
      const std::uint64_t available = piece.offset < size ? size - piece.offset : 0;
      const std::size_t expected = static_cast<std::size_t>(std::min<std::uint64_t>(piece.length, available));
      ASSERT_EQ(piece.got, static_cast<std::int64_t>(expected)) << "piece " << i << " of " << batch;
      for (std::size_t k = 0; k < expected; ++k)
        ASSERT_EQ(buffers[i][k], byte_at(piece.offset + k)) << "piece " << i << " byte " << k;
      for (std::size_t k = expected; k < buffers[i].size(); ++k) ASSERT_EQ(buffers[i][k], 0xEE) << "beyond the end";
    }
  }
}

TEST(PieceReads, BatchesReadWhatSingleReadsRead) {
  TempDir dir;
  const auto path = dir / "pezzi.bin";
  constexpr std::uint64_t kSize = 300000;
  {
    std::vector<char> bytes(kSize);
    for (std::uint64_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>(byte_at(i));
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  platform::FileError error = platform::FileError::None;
  const auto file = ArchiveFile::open(path.string(), error);
  ASSERT_NE(file, nullptr);
  expect_batch_reads_as_single_reads(*file, kSize, 1);
  // Each thread reads through its own batches.
  std::thread other([&] { expect_batch_reads_as_single_reads(*file, kSize, 2); });
  expect_batch_reads_as_single_reads(*file, kSize, 3);
  other.join();
}

}  // namespace
}  // namespace tarvik::test
