#include "cli/console_window.h"

#include <cctype>
#include <cstring>

#include "platform/console.h"

namespace tarvik::cli {

namespace {

constexpr int kBarWidth = 30;

// "Avanzamento: 300/1845" as the two numbers, for the bar.
bool parse_progress(const std::string& caption, long& done, long& total) {
  return std::sscanf(caption.c_str(), "Avanzamento: %ld/%ld", &done, &total) == 2;
}

}  // namespace

ConsoleWindow::ConsoleWindow(std::string folder, std::optional<bool> answer, std::FILE* in,
                             std::FILE* err)
    : folder_(std::move(folder)), answer_(answer), in_(in), err_(err),
      terminal_(platform::IsTerminal(err)) {}

void ConsoleWindow::end_progress_line() {
  if (progress_on_line_) platform::WriteText(err_, "\n");
  progress_on_line_ = false;
}

void ConsoleWindow::show_error_panel(bool shown) {
  if (!shown) return;
  end_progress_line();
  platform::WriteText(err_, error_text_ + "\n");
}

void ConsoleWindow::set_progress_caption(const std::string& caption) {
  long done = 0, total = 0;
  if (!terminal_ || !parse_progress(caption, done, total)) {
    platform::WriteText(err_, caption + "\n");
    return;
  }
  // Done may pass the total: the total counts whole tables, the blocks filtered rows.
  int filled = total > 0 ? int(std::min(done, total) * kBarWidth / total) : kBarWidth;
  platform::WriteText(err_, "\r" + caption + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                                std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "]");
  std::fflush(err_);
  progress_on_line_ = true;
}

ui::Answer ConsoleWindow::message_box(const std::string& text, std::string_view title, int style) {
  end_progress_line();
  if (style == ui::kStyleWarningYesNo && answer_) {
    // Answered on the command line: the question is not shown, only the answer taken and why.
    platform::WriteText(err_, std::string("Reparti nelle ubicazioni: ") + (*answer_ ? "sì" : "no") +
                                  " (opzione --departments)\n");
    return *answer_ ? ui::Answer::Yes : ui::Answer::No;
  }
  platform::WriteText(err_, std::string(title) + ": " + text + "\n");
  if (style != ui::kStyleWarningYesNo) return ui::Answer::Ok;
  // Yes is preselected: an empty answer, or anything but a no, is Yes.
  platform::WriteText(err_, "[S/n] ");
  std::fflush(err_);
  char line[64] = {};
  if (std::fgets(line, sizeof line, in_) == nullptr) return ui::Answer::Yes;
  char first = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
  return first == 'n' ? ui::Answer::No : ui::Answer::Yes;
}

void ConsoleWindow::unload() { end_progress_line(); }

}  // namespace tarvik::cli
