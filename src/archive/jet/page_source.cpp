#include "archive/jet/page_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
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
// Decrypted pages kept around; beyond this the cache starts over (pages are cheap to decrypt).
constexpr std::size_t kDecryptedCacheLimit = 4096;

}  // namespace

PageSource::PageSource(std::string path, const std::uint8_t* data, std::size_t size)
    : path_(std::move(path)), data_(data), size_(size) {}

PageSource::~PageSource() {
  if (mapping_ != nullptr) munmap(mapping_, size_);
}

std::unique_ptr<PageSource> PageSource::open(const std::string& path) {
  // Non-blocking, so that a FIFO at the path is refused instead of waiting for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) throw errors::file_not_found(path);
    throw errors::cannot_open(path);
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw errors::cannot_open(path);
  }
  std::size_t size = static_cast<std::size_t>(st.st_size);
  void* mapping = nullptr;
  if (size > 0) {
    mapping = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapping == MAP_FAILED) {
      ::close(fd);
      throw errors::cannot_open(path);
    }
  }
  ::close(fd);
  std::unique_ptr<PageSource> source(
      new PageSource(path, static_cast<const std::uint8_t*>(mapping), size));
  source->mapping_ = mapping;
  source->read_header();
  source->check_encryption();
  return source;
}

std::unique_ptr<PageSource> PageSource::from_memory(std::vector<std::uint8_t> bytes,
                                                    const std::string& name) {
  std::unique_ptr<PageSource> source(new PageSource(name, nullptr, 0));
  source->memory_ = std::move(bytes);
  source->data_ = source->memory_.data();
  source->size_ = source->memory_.size();
  source->read_header();
  source->check_encryption();
  return source;
}

void PageSource::read_header() {
  constexpr std::size_t kHeaderEnd = kMaskStart + 128;
  if (size_ < kHeaderEnd) throw errors::unrecognized_format(path_, "file troppo corto");
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

  std::size_t page_size = header_.format->page_size;
  std::size_t pages = size_ / page_size + (size_ % page_size != 0 ? 1 : 0);
  if (pages > 0x00FFFFFFu) throw errors::unrecognized_format(path_, "file troppo grande");
  page_count_ = static_cast<std::uint32_t>(pages);
  if (page_count_ <= kCatalogPage)
    throw errors::unrecognized_format(path_, "manca il catalogo degli oggetti");
}

void PageSource::check_encryption() {
  // A wrong key (or an encryption scheme other than Jet's RC4) decrypts page 2 into noise.
  if (page(kCatalogPage).type() != kTableDefinitionPage) {
    if (header_.encryption_key != 0)
      throw errors::unrecognized_format(path_, "cifratura non supportata");
    throw errors::unrecognized_format(path_, "catalogo degli oggetti non trovato");
  }
}

Page PageSource::page(std::uint32_t n) const {
  if (!valid_page(n))
    throw errors::damaged("pagina " + std::to_string(n) + " fuori dal file");
  std::size_t page_size = header_.format->page_size;
  std::size_t offset = std::size_t(n) * page_size;
  // A file cut inside a page has lost that page's end, where a data page keeps its first rows:
  // zeros in their place would read as rows of nulls, so the page counts as damaged.
  if (offset + page_size > size_)
    throw errors::damaged("pagina " + std::to_string(n) + " troncata: il file finisce a metà pagina");
  if (header_.encryption_key == 0) return Page{Bytes(data_ + offset, page_size), nullptr};

  if (auto it = decrypted_.find(n); it != decrypted_.end())
    return Page{Bytes(*it->second), it->second};
  auto copy = std::make_shared<std::vector<std::uint8_t>>(data_ + offset, data_ + offset + page_size);
  if (header_.encryption_key != 0) {
    std::uint32_t key = header_.encryption_key ^ n;
    std::array<std::uint8_t, 4> key_bytes = {
        std::uint8_t(key), std::uint8_t(key >> 8), std::uint8_t(key >> 16), std::uint8_t(key >> 24)};
    rc4_apply(key_bytes, *copy);
  }
  if (decrypted_.size() >= kDecryptedCacheLimit) decrypted_.clear();
  decrypted_.emplace(n, copy);
  return Page{Bytes(*copy), copy};
}

}  // namespace tarvik::archive::jet
