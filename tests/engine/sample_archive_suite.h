// A test suite over one sample archive that holds orphans (so joins drop rows), written once for
// the suite into a folder of its own and removed after it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/run_archives.h"

namespace tarvik::test {

class SampleArchiveSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                        ("tarvik-engine-sample-" + std::to_string(::getpid())));
    std::filesystem::create_directories(*folder_);
    run::write_sample(*folder_, run::SampleVariant::MissingDestination);
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*folder_);
    delete folder_;
    folder_ = nullptr;
  }
  static std::string archive_path() { return (*folder_ / run::kArchiveName).string(); }

 private:
  static inline std::filesystem::path* folder_ = nullptr;
};

}  // namespace tarvik::test
