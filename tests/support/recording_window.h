// A window for tests: it records every operation the run makes on it, and answers message
// boxes with answers queued by the test (Yes when none is queued for a Yes/No box).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/window_port.h"

namespace tarvik::test {

struct ShownMessage {
  std::string text;
  std::string title;
  int style = 0;
};

class RecordingWindow : public ui::WindowPort {
 public:
  std::string folder_text() override { return folder; }
  void set_folder_text(const std::string& text) override { folder = text; }
  void set_error_text(const std::string& text) override { error_text = text; }
  void show_error_panel(bool shown) override { error_panel_shown = shown; }
  void enable_button(bool enabled) override { button_enabled = enabled; }
  void set_progress_caption(const std::string& caption) override { captions.push_back(caption); }
  void set_busy_pointer(bool busy) override { this->busy = busy; }
  void process_events() override { ++events_processed; }
  ui::Answer message_box(const std::string& text, std::string_view title, int style) override {
    messages.push_back({text, std::string(title), style});
    if (!answers.empty()) {
      ui::Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return style == ui::kStyleWarningYesNo ? ui::Answer::Yes : ui::Answer::Ok;
  }
  void unload() override { unloaded = true; }

  std::string folder;
  std::string error_text;
  bool error_panel_shown = false;
  bool button_enabled = true;
  std::vector<std::string> captions;
  bool busy = false;
  int events_processed = 0;
  std::vector<ShownMessage> messages;
  std::deque<ui::Answer> answers;
  bool unloaded = false;
};

}  // namespace tarvik::test
