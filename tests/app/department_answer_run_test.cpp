// Header line 2 carries the answer to the department question: "T" for yes, "F" for no and when
// the locations do not look like departments and the question is not asked at all.
#include <gtest/gtest.h>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;
using archive::Value;

const std::string kQuestion =
    "Per ogni articolo di magazzino Tarvik poteva utilizzare la collocazione per memorizzare il "
    "reparto da utilizzare quando si stampa lo scontrino.\r\n"
    "Sembra che questi archivi contengano i valori del reparto nella collocazione degli articoli di "
    "magazzino.\r\n\r\n"
    "Vuoi utilizzare i dati contenuti nella collocazione per impostare il reparto negli archivi "
    "importati in Quendal?";

class DepartmentAnswerRun : public ExportRunTest {
 protected:
  void expect_one_question() {
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].text, kQuestion);
    EXPECT_EQ(window_.messages[0].title, "Importazione archivi Tarvik");
    EXPECT_EQ(window_.messages[0].style, 52);
  }
  std::string header_line_2() {
    const std::vector<std::string> lines = transfer_lines(transfer_path());
    return lines.size() > 1 ? lines[1] : "(none)";
  }
};

TEST_F(DepartmentAnswerRun, YesGivesT) {
  write_sample(archives_.path());  // some of its locations are department numbers
  window_.answers.push_back(ui::Answer::Yes);
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_one_question();
  EXPECT_EQ(header_line_2(), "T");
}

TEST_F(DepartmentAnswerRun, NoGivesF) {
  write_sample(archives_.path());
  window_.answers.push_back(ui::Answer::No);
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  expect_one_question();
  EXPECT_EQ(header_line_2(), "F");
  EXPECT_TRUE(check_transfer_file().ok);
}

TEST_F(DepartmentAnswerRun, LocationsThatAreNoDepartmentsGiveFWithoutAQuestion) {
  SchemaArchive archive;
  int n = 0;
  for (const char16_t* location : {u"A1", u"100", u"0", u"-1", u"Scaffale 3", u""}) {
    archive.row("Magazzino", {{"Codice", Value::text(u"ART" + std::u16string(1, u'0' + n++))},
                              {"Collocazione", Value::text(location)}});
  }
  archive.row("Magazzino", {{"Codice", Value::text(u"ART9")}}).write(archives_.path());
  window_.answers.push_back(ui::Answer::Yes);  // would be taken if the question were asked
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  EXPECT_TRUE(window_.messages.empty());
  EXPECT_EQ(header_line_2(), "F");
}

TEST_F(DepartmentAnswerRun, AnArchiveWhoseLocationsCannotBeReadGivesFWithoutAQuestion) {
  // The question's own query fails: the error is the question's, not the run's.
  SchemaArchive().without_column("Magazzino", "Collocazione").write(archives_.path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::Finished);
  EXPECT_TRUE(window_.messages.empty());
  EXPECT_EQ(header_line_2(), "F");
}

}  // namespace
}  // namespace tarvik::test::run
