// What an export runs ahead on the archive's second thread, and when: the one place that decides
// it. The run's own thread (export_run.cpp) writes the file in the plan's order; the second
// thread reads what the run will need next, so that one core writes while the other reads.
//
//   when                               the second thread                     the run's thread
//   ---------------------------------  ------------------------------------  -------------------------------
//   the archive is open (RunAhead)     1. opens and counts the queries of    the first two checks
//                                         the last check and the department
//                                         question
//                                      2. counts the 34 tables of the         counts them from the first
//                                         total, from the last                (count_tables_meanwhile), while
//                                                                             it would wait for 1
//                                      3. records stages ahead, one job a     the last check, the total, the
//                                         stage (stages_ahead.h)              department question
//   the stages are written             3. goes on recording                  write_stages: the stage whose
//   (write_stages)                     4. finds what each written block       turn it is, or one recorded
//                                         left out, for the report, one
//                                         block after another
//   the last stage is written          4. ends                               finish: waits for 4
//
// Errors reach the user where a run on one thread would meet them: what fails ahead (1, 2, a
// recording) is done again in its turn on the run's thread and fails there; an error of 4 is kept
// and thrown by finish(). The run stops the second thread (stop, or the destructor) before it
// closes the archive.
#pragma once

#include <memory>
#include <string>

#include "app/ahead/second_thread.h"
#include "app/ahead/stages_ahead.h"
#include "report/block_report.h"

namespace tarvik::app {

class RunContext;

class RunAhead {
 public:
  // Starts 1, 2 and 3 on the archive the context holds open (at `archive_path`).
  RunAhead(RunContext& context, const std::string& archive_path);
  // Stops the second thread: the work under way ends, the rest is dropped.
  ~RunAhead();
  RunAhead(const RunAhead&) = delete;
  RunAhead& operator=(const RunAhead&) = delete;

  // Counts the total's tables here, from the first, while the second thread is still busy with 1.
  void count_tables_meanwhile();
  // Writes every stage in the plan's order; the transfer file must be open.
  void write_stages();
  // Asks for the report's look-ups of a block just written (4).
  void look_up_left_out(report::BlockReport& block);
  // Waits for the look-ups; throws the first error one of them threw.
  void finish();
  // Stops the second thread, so that the archive can be closed without waiting for it.
  void stop();

 private:
  RunContext& context_;
  SecondThread second_;
  StagesAhead stages_;
};

}  // namespace tarvik::app
