// Progress lines off a terminal are written a few at a time, the first at once, and always before
// anything else the console says, so that the order of the lines stays the order of the run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "cli/console_window.h"

namespace tarvik::test::cli {
namespace {

// A scratch stream whose bytes can be read back as they stand.
class MemoryStream {
 public:
  MemoryStream() : file_(std::tmpfile()) {}
  ~MemoryStream() { std::fclose(file_); }
  std::FILE* file() const { return file_; }
  std::string text() {
    std::fflush(file_);
    const long end = std::ftell(file_);
    std::string bytes(static_cast<std::size_t>(end), '\0');
    std::rewind(file_);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file_);
    std::fseek(file_, 0, SEEK_END);
    bytes.resize(got);
    return bytes;
  }

 private:
  std::FILE* file_;
};

TEST(ConsoleWindow, ProgressLinesComeAFewAtATimeAndBeforeAnythingElse) {
  MemoryStream err;
  {
    tarvik::cli::ConsoleWindow window("/archivio", true, stdin, err.file());
    window.set_progress_caption("Avanzamento: 100/300");
    EXPECT_EQ(err.text(), "Avanzamento: 100/300\n") << "the first line at once";
    window.set_progress_caption("Avanzamento: 200/300");
    EXPECT_EQ(err.text(), "Avanzamento: 100/300\n") << "the next held back";
    window.message_box("Fatto", "Esportazione dati Tarvik", 0);
    EXPECT_EQ(err.text(), "Avanzamento: 100/300\nAvanzamento: 200/300\nEsportazione dati Tarvik: Fatto\n");

    window.set_progress_caption("Avanzamento: 300/300");
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    window.set_progress_caption("Avanzamento: 400/300");
    EXPECT_EQ(err.text().substr(err.text().rfind("Fatto\n") + 6), "Avanzamento: 300/300\nAvanzamento: 400/300\n")
        << "held no longer than a twentieth of a second";
    window.set_progress_caption("Avanzamento: 500/300");
  }
  EXPECT_TRUE(err.text().ends_with("Avanzamento: 500/300\n")) << "nothing is lost when the window goes";
}

}  // namespace
}  // namespace tarvik::test::cli
