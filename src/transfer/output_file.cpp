#include "transfer/output_file.h"

#include <random>
#include <string>

#include "platform/directory.h"
#include "platform/utf8_path.h"

namespace tarvik::transfer {

namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kSuffixDigits = 6;

// Paths reach the platform as UTF-8 on every system.
using platform::PathFromUtf8;
using platform::Utf8FromPath;

std::string temporary_name(const std::string& target_name, std::uint32_t suffix) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = target_name + std::string(kTemporaryMark);
  for (int shift = 20; shift >= 0; shift -= 4) name += kHex[(suffix >> shift) & 0xF];
  return name;
}

bool is_temporary_name_of(const std::string& name, const std::string& target_name) {
  const std::size_t prefix = target_name.size() + kTemporaryMark.size();
  if (name.size() != prefix + kSuffixDigits || name.compare(0, target_name.size(), target_name) != 0 ||
      name.compare(target_name.size(), kTemporaryMark.size(), kTemporaryMark) != 0)
    return false;
  for (std::size_t i = prefix; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

TransferError errors::from_file_error(platform::FileError error) {
  switch (error) {
    case platform::FileError::DiskFull: return disk_full();
    case platform::FileError::NotFound: return path_not_found();
    case platform::FileError::AccessDenied:
    case platform::FileError::InUse:
    case platform::FileError::NotRegular: return path_access();
    case platform::FileError::TooManyFiles: return too_many_files();
    case platform::FileError::BadName: return bad_file_name();
    default: return device_io();
  }
}

std::size_t RemoveStaleTemporaryFiles(const std::filesystem::path& path) {
  const std::string target_name = Utf8FromPath(path.filename());
  const std::filesystem::path folder = path.parent_path();
  std::size_t removed = 0;
  for (const std::string& name : platform::FolderNames(Utf8FromPath(folder))) {
    if (!is_temporary_name_of(name, target_name)) continue;
    // A file still written by a live run is locked and stays.
    if (platform::RemoveIfUnlocked(Utf8FromPath(folder / PathFromUtf8(name)))) ++removed;
  }
  return removed;
}

OutputFile::OutputFile(std::filesystem::path path) : path_(std::move(path)) {
  // Leftovers of runs that were killed while writing to the same path.
  RemoveStaleTemporaryFiles(path_);
  std::random_device random;
  const std::string target_name = Utf8FromPath(path_.filename());
  // A name already taken (another run's file) is skipped; the create never reuses one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_path_ = path_.parent_path() / PathFromUtf8(temporary_name(target_name, random()));
    platform::FileError error = platform::FileError::None;
    file_ = platform::NewFile::create(Utf8FromPath(temporary_path_), error);
    if (file_) return;
    if (error != platform::FileError::AlreadyExists) {
      temporary_path_.clear();
      throw errors::from_file_error(error);
    }
  }
  temporary_path_.clear();
  throw errors::path_access();
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::write(const char* data, std::size_t size) {
  check_open();
  fail_on(file_->write(data, size));
  size_ += size;
}

void OutputFile::flush() {
  check_open();
  fail_on(file_->flush());
}

void OutputFile::check_open() const {
  if (failure_) throw *failure_;
  if (!file_) throw errors::device_io();  // already committed or discarded
}

void OutputFile::fail_on(platform::FileError error) {
  if (error == platform::FileError::None) return;
  failure_ = errors::from_file_error(error);
  discard();
  throw *failure_;
}

void OutputFile::commit() {
  if (failure_) throw *failure_;
  if (!file_) throw errors::device_io();
  platform::FileError error = file_->flush_and_close();
  file_.reset();
  if (error == platform::FileError::None) error = platform::ReplaceFile(Utf8FromPath(temporary_path_), Utf8FromPath(path_));
  if (error != platform::FileError::None) {
    platform::RemoveFile(Utf8FromPath(temporary_path_));
    temporary_path_.clear();
    failure_ = errors::from_file_error(error);
    throw *failure_;
  }
  temporary_path_.clear();
}

void OutputFile::discard() noexcept {
  file_.reset();  // closes: on Windows a file can be deleted only once no handle holds it
  if (!temporary_path_.empty()) platform::RemoveFile(Utf8FromPath(temporary_path_));
  temporary_path_.clear();
}

void DeleteTransferFile(const std::filesystem::path& path) noexcept { platform::RemoveFile(Utf8FromPath(path)); }

}  // namespace tarvik::transfer
