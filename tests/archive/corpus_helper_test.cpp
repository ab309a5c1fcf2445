// The corpus helper fails the test that asks for a missing corpus file, instead of handing it an
// empty buffer to damage and read.
#include <gtest/gtest.h>

#include <stdexcept>

#include "corpus.h"

namespace tarvik::test {
namespace {

TEST(CorpusHelper, AMissingFileFailsInsteadOfGivingNothing) {
  EXPECT_THROW(corpus_file("no-such-folder/Tarvik.mdb"), std::runtime_error);
  EXPECT_THROW(read_bytes("/nonexistent/Tarvik.mdb"), std::runtime_error);
  EXPECT_FALSE(read_bytes(corpus_file("jackcess/testV1997.mdb")).empty());
}

}  // namespace
}  // namespace tarvik::test
