#include "archive/jet/page_source.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "archive/archive_error.h"
#include "archive/jet/rc4.h"

namespace tarvik::archive::jet {

namespace {

constexpr std::size_t kMaskStart = 0x18;
constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kEngineOffset = 0x04;
constexpr std::size_t kJet3SortOrder = 0x3A;
constexpr std::size_t kCodePage = 0x3C;
constexpr std::size_t kEncryptionKey = 0x3E;
constexpr std::size_t kPassword = 0x42;
constexpr std::size_t kJet4SortOrder = 0x6E;
constexpr std::size_t kJet4CreationDate = 0x72;
constexpr std::array<std::uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint8_t kTableDefinitionPage = 0x02;
// The header's fields all lie in the first bytes; page 0 is read whole when the file has it.
constexpr std::size_t kHeaderReadLength = 4096;

}  // namespace

PageSource::PageSource(std::string path, std::uint64_t size) : path_(std::move(path)), size_(size) {}

PageSource::~PageSource() = default;

std::unique_ptr<PageSource> PageSource::open(const std::string& path) {
  platform::FileError error = platform::FileError::None;
  auto file = platform::ArchiveFile::open(path, error);
  if (!file) {
    if (error == platform::FileError::NotFound) throw errors::file_not_found(path);
    throw errors::cannot_open(path);
  }
  std::unique_ptr<PageSource> source(new PageSource(path, file->size()));
  std::vector<std::uint8_t> first(std::min<std::uint64_t>(source->size_, kHeaderReadLength));
  const std::int64_t got = file->read_at(0, first.data(), first.size());
  if (got < 0) throw errors::cannot_open(path);
  source->file_ = std::move(file);
  source->read_header(first.data(), static_cast<std::size_t>(got));
  source->check_encryption();
  return source;
}

std::unique_ptr<PageSource> PageSource::from_memory(std::vector<std::uint8_t> bytes,
                                                    const std::string& name) {
  std::unique_ptr<PageSource> source(new PageSource(name, bytes.size()));
  source->memory_ = std::move(bytes);
  source->read_header(source->memory_.data(), source->memory_.size());
  source->check_encryption();
  return source;
}

void PageSource::read_header(const std::uint8_t* data_, std::size_t available) {
  constexpr std::size_t kHeaderEnd = kMaskStart + 128;
  if (available < kHeaderEnd) throw errors::unrecognized_format(path_, "file troppo corto");
  static constexpr std::uint8_t kMagic[4] = {0x00, 0x01, 0x00, 0x00};
  if (std::memcmp(data_, kMagic, 4) != 0)
    throw errors::unrecognized_format(path_, "intestazione mancante");

  std::string engine(reinterpret_cast<const char*>(data_ + kEngineOffset), 15);
  if (engine == "MSISAM Database")
    throw errors::unrecognized_format(path_, "formato MSISAM non supportato");
  if (engine != "Standard Jet DB" && engine != "Standard ACE DB")
    throw errors::unrecognized_format(path_, "non è un archivio Jet");
  header_.engine = engine;

  header_.version = data_[kVersionOffset];
  if (header_.version == 0) {
    header_.format = &jet3_format();
  } else if (header_.version <= 6) {
    header_.format = &jet4_format();  // ACE keeps the Jet4 page layout
  } else {
    throw errors::unrecognized_format(path_, "versione " + std::to_string(header_.version));
  }

  std::array<std::uint8_t, 128> region{};
  std::size_t mask_length = header_.format->header_mask_length;
  std::memcpy(region.data(), data_ + kMaskStart, mask_length);
  rc4_apply(kHeaderMaskKey, std::span<std::uint8_t>(region.data(), mask_length));
  auto field16 = [&](std::size_t off) { return load_u16(region.data() + off - kMaskStart); };
  auto field32 = [&](std::size_t off) { return load_u32(region.data() + off - kMaskStart); };

  header_.code_page = field16(kCodePage);
  header_.encryption_key = field32(kEncryptionKey);
  if (header_.format->jet3) {
    header_.sort_order = field16(kJet3SortOrder);
    for (std::size_t i = 0; i < 20; ++i)
      if (region[kPassword - kMaskStart + i] != 0) header_.has_password = true;
  } else {
    header_.sort_order = field16(kJet4SortOrder);
    header_.sort_version = region[kJet4SortOrder + 3 - kMaskStart];
    std::uint64_t raw = load_u64(region.data() + kJet4CreationDate - kMaskStart);
    std::memcpy(&header_.creation_date, &raw, sizeof raw);
    // The password is XORed with the integer part of the creation date, repeated.
    std::uint32_t mask = 0;
    if (std::isfinite(header_.creation_date) && std::fabs(header_.creation_date) < 2147483647.0)
      mask = static_cast<std::uint32_t>(static_cast<std::int32_t>(header_.creation_date));
    for (std::size_t i = 0; i < 40; ++i) {
      std::uint8_t m = static_cast<std::uint8_t>(mask >> (8 * (i % 4)));
      if ((region[kPassword - kMaskStart + i] ^ m) != 0) header_.has_password = true;
    }
  }

  std::uint64_t page_size = header_.format->page_size;
  std::uint64_t pages = size_ / page_size + (size_ % page_size != 0 ? 1 : 0);
  if (pages > 0x00FFFFFFu) throw errors::unrecognized_format(path_, "file troppo grande");
  page_count_ = static_cast<std::uint32_t>(pages);
  if (page_count_ <= kCatalogPage)
    throw errors::unrecognized_format(path_, "manca il catalogo degli oggetti");
  const std::uint32_t blocks = (page_count_ + PageCache::kPagesPerBlock - 1) / PageCache::kPagesPerBlock;
  // The second thread counts and builds join indexes, reading tables from start to end: a quarter
  // of the budget is enough for that.
  lanes_[0].cache.reset(blocks, PageCache::kPagesPerBlock * page_size);
  lanes_[1].cache.reset(blocks, PageCache::kPagesPerBlock * page_size, PageCache::kBudgetBytes / 4);
}

void PageSource::check_encryption() {
  // A wrong key (or an encryption scheme other than Jet's RC4) decrypts page 2 into noise.
  if (page(kCatalogPage).type() != kTableDefinitionPage) {
    if (header_.encryption_key != 0)
      throw errors::unrecognized_format(path_, "cifratura non supportata");
    throw errors::unrecognized_format(path_, "catalogo degli oggetti non trovato");
  }
}

Page PageSource::page(std::uint32_t n, std::uint32_t wanted) const {
  if (!valid_page(n))
    throw errors::damaged("pagina " + std::to_string(n) + " fuori dal file");
  const std::size_t page_size = header_.format->page_size;
  const std::uint64_t offset = std::uint64_t(n) * page_size;
  // A file cut inside a page has lost that page's end, where a data page keeps its first rows:
  // zeros in their place would read as rows of nulls, so the page counts as damaged.
  if (offset + page_size > size_)
    throw errors::damaged("pagina " + std::to_string(n) + " troncata: il file finisce a metà pagina");
  if (!file_ && header_.encryption_key == 0)
    return Page{Bytes(memory_.data() + offset, page_size), nullptr};

  const std::uint32_t block = n / PageCache::kPagesPerBlock;
  const std::uint32_t bit = 1u << (n % PageCache::kPagesPerBlock);
  PageCache::Block bytes;
  {
    Lane& mine = lane();
    PageCache& cache = mine.cache;
    std::lock_guard<std::mutex> lock(mine.mutex);
    if (const PageCache::Block* cached = cache.find(block)) {
      bytes = *cached;
      // A page a scan of another table left out: the rest of the block comes with it, as the
      // long values and rows read by position tend to lie together.
      if ((bytes->present & bit) == 0) load_pages(block, PageCache::kWholeBlock, *bytes);
    } else {
      bytes = cache.evict_for_reuse();
      if (!bytes) bytes = cache.new_block();
      bytes->present = 0;
      load_pages(block, wanted | bit, *bytes);
      cache.insert(block, bytes);
    }
  }
  // The file has become shorter since it was opened (another program cut it).
  if ((bytes->present & bit) == 0)
    throw errors::damaged("pagina " + std::to_string(n) +
                          " illeggibile: il file si è accorciato durante la lettura");
  const std::size_t within = std::size_t(n % PageCache::kPagesPerBlock) * page_size;
  return Page{Bytes(bytes->data + within, page_size), bytes};
}

void PageSource::load_pages(std::uint32_t block, std::uint32_t wanted, BlockBytes& bytes) const {
  const std::uint32_t first = block * PageCache::kPagesPerBlock;
  const std::uint32_t in_file = std::min(PageCache::kPagesPerBlock, page_count_ - first);
  const std::size_t page_size = header_.format->page_size;
  std::uint32_t missing = wanted & ~bytes.present & ((1u << in_file) - 1);
  // One read per run of consecutive pages wanted (reading through the pages between runs costs
  // more in copying than the extra reads do, measured), all the block's runs in one batch.
  std::array<platform::PieceRead, PageCache::kPagesPerBlock / 2> pieces;
  std::array<std::uint32_t, PageCache::kPagesPerBlock / 2> starts{};
  std::size_t runs = 0;
  while (missing != 0) {
    const std::uint32_t start = static_cast<std::uint32_t>(std::countr_zero(missing));
    const std::uint32_t count = static_cast<std::uint32_t>(std::countr_one(missing >> start));
    pieces[runs] = {std::uint64_t(first + start) * page_size, bytes.data + start * page_size,
                    std::size_t(count) * page_size, 0};
    starts[runs++] = start;
    missing &= ~(((1u << count) - 1) << start);
  }
  read_pieces(std::span(pieces.data(), runs));
  for (std::size_t r = 0; r < runs; ++r) {
    // Only whole pages count: the pages past the end of a file that has become shorter stay absent.
    const std::uint32_t got = whole_pages_read(first + starts[r], pieces[r]);
    bytes.present |= ((1u << got) - 1) << starts[r];
  }
}

void PageSource::read_pieces(std::span<platform::PieceRead> pieces) const {
  if (file_) {
    file_->read_pieces(pieces);
    return;
  }
  for (platform::PieceRead& piece : pieces) {
    const std::size_t got = std::min<std::size_t>(piece.length, memory_.size() - piece.offset);
    std::memcpy(piece.into, memory_.data() + piece.offset, got);
    piece.got = static_cast<std::int64_t>(got);
  }
}

std::uint32_t PageSource::whole_pages_read(std::uint32_t first, const platform::PieceRead& piece) const {
  if (piece.got < 0) throw errors::damaged("lettura delle pagine dal " + std::to_string(first) + " non riuscita");
  const std::size_t page_size = header_.format->page_size;
  const std::uint32_t whole = static_cast<std::uint32_t>(std::size_t(piece.got) / page_size);
  if (header_.encryption_key != 0) {
    auto* into = static_cast<std::uint8_t*>(piece.into);
    for (std::uint32_t k = 0; k < whole; ++k) {
      const std::uint32_t n = first + k;
      if (n == 0) continue;  // the header page is masked, not encrypted
      const std::uint32_t key = header_.encryption_key ^ n;
      const std::array<std::uint8_t, 4> key_bytes = {std::uint8_t(key), std::uint8_t(key >> 8),
                                                     std::uint8_t(key >> 16), std::uint8_t(key >> 24)};
      rc4_apply(key_bytes, std::span<std::uint8_t>(into + std::size_t(k) * page_size, page_size));
    }
  }
  return whole;
}

}  // namespace tarvik::archive::jet
