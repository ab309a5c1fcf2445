// Page access to a Jet file: the file is read by position through a cache of bounded size, page 0
// is unmasked into the database header, and every other page is handed out as a span of exactly
// one page, decrypted first when the database is encrypted. Page numbers come from the file and
// are checked here. A file that shrinks while it is read gives the damaged-archive error.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/jet/bytes.h"
#include "archive/jet/format.h"
#include "archive/jet/page_cache.h"
#include "platform/archive_file.h"

namespace tarvik::archive::jet {

struct DatabaseHeader {
  int version = 0;             // 0 Jet3, 1 Jet4, 2.. ACE
  const Format* format = nullptr;
  std::uint16_t code_page = 1252;
  std::uint16_t sort_order = 0;  // LCID
  std::uint8_t sort_version = 0;  // Jet4 on: 0 the General order up to Access 2007, 1 that of 2010 on
  std::uint32_t encryption_key = 0;
  double creation_date = 0;      // Jet4 only
  bool has_password = false;
  std::string engine;            // "Standard Jet DB", "Standard ACE DB"
};

// A page's bytes. `owner` keeps the cached block the span points into alive, so a page stays valid
// after the cache has let its block go (it is null for an archive held in memory).
struct Page {
  Bytes bytes;
  std::shared_ptr<const void> owner;
  std::uint8_t type() const { return bytes[0]; }
};

class PageSource {
 public:
  // Opens the file, reads and checks the header. Throws ArchiveError.
  static std::unique_ptr<PageSource> open(const std::string& path);
  // Over bytes already in memory (tests and the fuzzer); the bytes are copied.
  static std::unique_ptr<PageSource> from_memory(std::vector<std::uint8_t> bytes,
                                                 const std::string& name);
  ~PageSource();
  PageSource(const PageSource&) = delete;
  PageSource& operator=(const PageSource&) = delete;

  const DatabaseHeader& header() const { return header_; }
  const Format& format() const { return *header_.format; }
  std::size_t page_size() const { return header_.format->page_size; }
  std::uint32_t page_count() const { return page_count_; }
  const std::string& path() const { return path_; }

  // Page n (1 <= n < page_count), decrypted. Throws "damaged" for a number outside the file and
  // for the last page of a file that ends inside it.
  Page page(std::uint32_t n) const { return page(n, PageCache::kWholeBlock); }
  // Page n, reading with it, when its block must be read, only the block's pages marked in
  // `wanted` (bit k for its k-th page): a scan that knows its table's pages leaves out the pages of
  // other tables and the long values between them. Pages left out are read when asked for.
  Page page(std::uint32_t n, std::uint32_t wanted) const;
  bool valid_page(std::uint32_t n) const { return n >= 1 && n < page_count_; }

 private:
  PageSource(std::string path, std::uint64_t size);
  void read_header(const std::uint8_t* data, std::size_t available);
  void check_encryption();
  // Reads the pages of `block` marked in `wanted` that it does not hold yet, decrypted, and marks
  // them present. A page the file no longer holds whole stays absent.
  void load_pages(std::uint32_t block, std::uint32_t wanted, BlockBytes& bytes) const;
  // Reads every piece, from the file or the bytes in memory.
  void read_pieces(std::span<platform::PieceRead> pieces) const;
  // The whole pages a piece read from page `first`, decrypted. Throws "damaged" for a failed read.
  std::uint32_t whole_pages_read(std::uint32_t first, const platform::PieceRead& piece) const;

  std::string path_;
  std::uint64_t size_ = 0;
  std::unique_ptr<platform::ArchiveFile> file_;  // null when opened from memory
  std::vector<std::uint8_t> memory_;             // the bytes when opened from memory
  DatabaseHeader header_;
  std::uint32_t page_count_ = 0;
  // Pages read on the thread that opened the file go through one cache, pages read on any other
  // thread (a query opened ahead) through a second, so that neither reader waits for the other's
  // reads or loses its pages to them. Shared: each lane owned by this source, under its mutex.
  struct Lane {
    std::mutex mutex;
    PageCache cache;
  };
  Lane& lane() const { return lanes_[std::this_thread::get_id() == opener_ ? 0 : 1]; }
  std::thread::id opener_ = std::this_thread::get_id();
  mutable std::array<Lane, 2> lanes_;
};

}  // namespace tarvik::archive::jet
