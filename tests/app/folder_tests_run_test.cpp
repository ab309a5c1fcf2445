// The run's first steps: the folder text normalised in the box whatever the outcome, and the two
// refusals before anything is opened.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/export_run_fixture.h"

namespace tarvik::test::run {
namespace {

using app::RunOutcome;

class FolderTestsRun : public ExportRunTest {
 protected:
  // A refusal by the folder tests: one message, nothing opened, the window ready for another press.
  void expect_refused_with(const std::string& text) {
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].text, text);
    EXPECT_EQ(window_.messages[0].title, kTitle);
    EXPECT_EQ(window_.messages[0].style, 48);
    EXPECT_FALSE(window_.busy);
    EXPECT_TRUE(window_.button_enabled);
    EXPECT_FALSE(window_.error_panel_shown);
    EXPECT_TRUE(window_.captions.empty());
    EXPECT_FALSE(window_.unloaded);
  }
};

TEST_F(FolderTestsRun, AMissingFolderIsRefusedAndItsTextGetsTheSeparator) {
  const std::string missing = (archives_ / "Archivi").string();
  EXPECT_EQ(press(missing), RunOutcome::RefusedFolder);
  EXPECT_EQ(window_.folder, missing + kSep);
  expect_refused_with("La cartella specificata non esiste");
  expect_no_transfer_file();
}

TEST_F(FolderTestsRun, AFolderWithoutTheArchiveIsRefused) {
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedFolder);
  EXPECT_EQ(window_.folder, archive_folder_text() + kSep);
  expect_refused_with("La cartella specificata non contiene un archivio di Tarvik");
  expect_no_transfer_file();
}

TEST_F(FolderTestsRun, AnArchiveNameThatIsAFolderCountsAsMissing) {
  std::filesystem::create_directory(archive_path());
  EXPECT_EQ(press(archive_folder_text()), RunOutcome::RefusedFolder);
  expect_refused_with("La cartella specificata non contiene un archivio di Tarvik");
}

TEST_F(FolderTestsRun, AFolderRefusalLeavesAnOlderTransferFileAsItWas) {
  // Nothing is opened before the folder tests pass, so nothing is deleted either.
  leave_older_transfer_file();
  EXPECT_EQ(press((archives_ / "Archivi").string()), RunOutcome::RefusedFolder);
  EXPECT_EQ(read_file(transfer_path()), " 1 \r\nF\r\n");
}

TEST_F(FolderTestsRun, AnEmptyBoxBecomesTheRootAndIsTestedAsSuch) {
  ASSERT_FALSE(std::filesystem::exists(kSep + "Tarvik.mdb"));
  EXPECT_EQ(press(""), RunOutcome::RefusedFolder);
  EXPECT_EQ(window_.folder, kSep);
  expect_refused_with("La cartella specificata non contiene un archivio di Tarvik");
}

TEST_F(FolderTestsRun, AFolderEndingInASeparatorIsLeftAsTyped) {
  write_sample(archives_.path());
  const std::string typed = archive_folder_text() + "/";
  EXPECT_EQ(press(typed), RunOutcome::Finished);
  EXPECT_EQ(window_.folder, typed);

  // A backslash counts as a separator too: nothing is appended. On Windows it is the system's
  // separator; elsewhere the text then names another folder, which does not exist.
  RecordingWindow fresh;
  window_ = fresh;
#ifdef _WIN32
  EXPECT_EQ(press(archive_folder_text() + "\\"), RunOutcome::Finished);
  EXPECT_EQ(window_.folder, archive_folder_text() + "\\");
#else
  EXPECT_EQ(press(archive_folder_text() + "\\"), RunOutcome::RefusedFolder);
  EXPECT_EQ(window_.folder, archive_folder_text() + "\\");
  expect_refused_with("La cartella specificata non esiste");
#endif
}

TEST_F(FolderTestsRun, ATrailingBlankIsKeptInThePath) {
  write_sample(archives_.path());
  EXPECT_EQ(press(archive_folder_text() + " "), RunOutcome::RefusedFolder);
  EXPECT_EQ(window_.folder, archive_folder_text() + " " + kSep);
  expect_refused_with("La cartella specificata non esiste");
}

TEST_F(FolderTestsRun, AfterARefusalTheUserCorrectsTheFolderAndPressesAgain) {
  write_sample(archives_.path());
  UntouchedArchive archive(archive_path());
  window_.folder = (archives_ / "Archivi").string();
  app::RunContext context(window_, transfer_path());
  EXPECT_EQ(app::Command1_Click(context), RunOutcome::RefusedFolder);

  window_.folder = archive_folder_text();
  EXPECT_EQ(app::Command1_Click(context), RunOutcome::Finished);
  EXPECT_EQ(window_.folder, archive_folder_text() + kSep);
  EXPECT_TRUE(window_.unloaded);
  EXPECT_TRUE(check_transfer_file().ok);
  archive.expect_untouched();
}

}  // namespace
}  // namespace tarvik::test::run
