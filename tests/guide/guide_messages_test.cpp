// The user's guide, docs/guida.md, held against the program: every text it quotes between « and »
// is a line the program shows, and every message a user may meet is quoted in it. How the quotes
// are read and matched: guide_quotes.h.
//
// The program's lines come from the program itself, never from copies of its texts:
// - the export window on Qt's offscreen platform: its captions, the warning at start-up, the two
//   folder refusals, the error panel of each archive check on an archive made to fail it, and the
//   department question of a whole run on the sample archive, with their titles and buttons;
// - the errors a run can end with, each made by the function the program raises it with and put
//   into the message the run shows (app::UnexpectedErrorMessage); where they name the archive they
//   name the guide's example, C:\Tarvik\Tarvik.mdb, and a part that varies from case to case is
//   made "…", as the guide quotes it;
// - the built tarvik-transfer, run on the sample archive and on one made to have a row written
//   twice: what export, report and verify print, and the texts of the report pages they write
//   (each text between two tags); what it says when written wrongly; and the notice it shows on a
//   console of its own, as printed by the function the Windows program calls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/error_handler.h"
#include "app/run_archives.h"
#include "app/run_error.h"
#include "app/window/export_program.h"
#include "archive/archive_error.h"
#include "cli/export_program_run.h"
#include "cli/usage.h"
#include "common/numbered_error.h"
#include "guide_quotes.h"
#include "report/report_page.h"
#include "support/temp_dir.h"
#include "transfer/transfer_error.h"
#include "window/qt/window_harness.h"

namespace tarvik::test::guide {
namespace {

using app::window::ExportProgram;
using app::window::Form1;
using archive::Value;

const char* const kGuideFile = TARVIK_GUIDE_FILE;
// The archive the guide's examples name.
const char* const kExampleArchive = "C:\\Tarvik\\Tarvik.mdb";

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

bool HasLetter(std::string_view text) {
  for (char c : text)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  return false;
}

struct ProgramLine {
  std::string text;
  std::string where;      // what showed it, for the failure messages
  bool required = false;  // a line a user may meet: the guide must quote it
};

class ProgramLines {
 public:
  // Every line of a text the program shows.
  void Shown(std::string_view text, const std::string& where, bool required = false) {
    for (std::string& line : ShownLines(text)) lines_.push_back({std::move(line), where, required});
  }

  // The texts of a report page: each text between two tags, its entities decoded; the style sheet
  // is no text. The heading, the terms of its list, the first section's title, the tables' header
  // cells (but those of the totals, which are figures) and the titles of the lists must be quoted.
  void ShownPage(std::string_view page, const std::string& where) {
    std::string element;  // the element last opened, empty after a closing tag
    bool first_section = true;
    for (std::size_t at = 0; at < page.size();) {
      const std::size_t tag = page.find('<', at);
      const std::string_view between =
          page.substr(at, tag == std::string_view::npos ? std::string_view::npos : tag - at);
      const std::string text = report_page::decoded(Trimmed(between));
      if (element != "style" && !text.empty()) {
        const bool required = element == "h1" || element == "dt" || (element == "th" && HasLetter(text)) ||
                              element == "h3" || (element == "h2" && first_section);
        if (element == "h2") first_section = false;
        lines_.push_back({text, where, required});
      }
      if (tag == std::string_view::npos) break;
      const std::size_t end = page.find('>', tag);
      if (end == std::string_view::npos) break;
      const std::string_view name = page.substr(tag + 1, end - tag - 1);
      element = name.starts_with('/') ? std::string() : std::string(name.substr(0, name.find(' ')));
      at = end + 1;
    }
  }

  const std::vector<ProgramLine>& lines() const { return lines_; }

 private:
  std::vector<ProgramLine> lines_;
};

void AddBox(ProgramLines& lines, const SeenMessageBox& box, const std::string& where, bool buttons_required) {
  lines.Shown(box.title, where + ", title", true);
  lines.Shown(box.text, where, true);
  for (const std::string& button : box.button_texts) lines.Shown(button, where + ", button", buttons_required);
}

// The window: its texts, the warning at start-up, the folder refusals, the panels of the archive
// checks and the department question. `sample_folder` holds the sample archive.
void GatherWindow(ProgramLines& lines, const std::filesystem::path& sample_folder) {
  TempDir work;
  SettingsFolder settings;  // nothing stored yet: the program warns at start-up
  {
    MessageBoxWatcher boxes;
    ExportProgram program((work / "ProvaExport.txt").string());
    Form1& form = program.form();
    EXPECT_EQ(boxes.seen().size(), 1u) << "the warning about the installation folder";
    for (const SeenMessageBox& box : boxes.seen()) AddBox(lines, box, "start-up warning", false);
    lines.Shown(form.windowTitle().toStdString(), "window title", true);
    lines.Shown(form.Label1->text().toStdString(), "window explanation", true);
    lines.Shown(form.Label2->text().toStdString(), "folder label", true);
    lines.Shown(form.Command1->text().toStdString(), "window button", true);

    // A folder that does not exist, then one that holds another file but no archive.
    form.txtDirectory->setText(QString::fromStdString((work / "manca").string()));
    form.Command1->click();
    std::filesystem::create_directory(work / "altro");
    std::ofstream(work / "altro" / "altro.txt") << "altro";
    form.txtDirectory->setText(QString::fromStdString((work / "altro").string()));
    form.Command1->click();
    EXPECT_EQ(boxes.seen().size(), 3u) << "the two folder refusals";
    for (std::size_t i = 1; i < boxes.seen().size(); ++i) AddBox(lines, boxes.seen()[i], "folder refusal", false);
  }

  // Each archive check, on an archive that fails it alone.
  const std::filesystem::path outdated = work / "non-aggiornato", doubled = work / "fornitori-doppi",
                              undelivered = work / "senza-destinazione";
  for (const auto& folder : {outdated, doubled, undelivered}) std::filesystem::create_directory(folder);
  run::write_sample(outdated, run::SampleVariant::Outdated);
  run::SchemaArchive()
      .row("LinkMagazzinoFornitori", {{"CodiceArticolo", Value::text(u"VITE-M8")}, {"idCliFor", Value::long_(5)}})
      .row("LinkMagazzinoFornitori", {{"CodiceArticolo", Value::text(u"VITE-M8")}, {"idCliFor", Value::long_(5)}})
      .write(doubled);
  run::SchemaArchive()
      .row("TestataFattAcc", {{"Numero", Value::long_(15)}, {"Data", Value::datetime({44267})}})  // 12 March 2021
      .write(undelivered);
  for (const auto& folder : {outdated, doubled, undelivered}) {
    settings.set_installation_folder(folder.string());
    MessageBoxWatcher boxes;
    ExportProgram program((work / "ProvaExport.txt").string());
    program.form().Command1->click();
    EXPECT_TRUE(boxes.seen().empty()) << folder;
    const std::string panel = program.form().txtErrore->toPlainText().toStdString();
    EXPECT_FALSE(panel.empty()) << "no refusal in the error panel for " << folder;
    // What the check says comes before the first empty line; the listing after it varies.
    const std::size_t listing = panel.find("\n\n");
    lines.Shown(panel.substr(0, listing), "error panel", true);
    if (listing != std::string::npos) lines.Shown(panel.substr(listing), "error panel, listing");
  }

  // A whole run on the sample archive, the department question answered with its preselected button.
  settings.set_installation_folder(sample_folder.string());
  MessageBoxWatcher boxes;
  ExportProgram program((work / "ProvaExport.txt").string());
  Form1& form = program.form();
  form.show();
  // A run that never ends the program (a refusal leaves the window open) fails here, not hangs.
  constexpr int kGaveUp = 99;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, [] { QApplication::exit(kGaveUp); });
  deadline.start(120000);
  QTimer::singleShot(0, form.Command1, [&form] { form.Command1->click(); });
  EXPECT_EQ(QApplication::exec(), app::kExitFinished);
  EXPECT_EQ(boxes.seen().size(), 1u) << "the department question";
  for (const SeenMessageBox& box : boxes.seen()) AddBox(lines, box, "department question", true);
}

// The errors a run can end with, in the message the run shows them in.
void GatherErrors(ProgramLines& lines) {
  const std::string varying(kAnything);
  const NumberedError errors[] = {
      archive::errors::file_not_found(kExampleArchive),
      archive::errors::cannot_open(kExampleArchive),
      archive::errors::in_use(kExampleArchive),
      archive::errors::unrecognized_format(kExampleArchive, varying),
      archive::errors::damaged(varying),
      archive::errors::table_not_found(varying),
      archive::errors::too_few_parameters(1),
      archive::errors::item_not_found(varying),
      transfer::errors::type_mismatch(),
      transfer::errors::bad_file_name(),
      transfer::errors::device_io(),
      transfer::errors::disk_full(),
      transfer::errors::too_many_files(),
      transfer::errors::path_access(),
      transfer::errors::path_not_found(),
      app::invalid_call(),
      app::overflow(),
      app::out_of_memory(),
  };
  for (const NumberedError& error : errors)
    lines.Shown(app::UnexpectedErrorMessage(error.number(), error.description()),
                "error " + std::to_string(error.number()), true);
}

// tarvik-transfer: export and report on the sample archive and on an archive with a row written
// twice, verify on a whole and on a broken transfer file; what they print, and the report pages.
void GatherCommand(ProgramLines& lines, const std::filesystem::path& sample_folder) {
  TempDir work;
  cli::ProgramSetup setup;
  setup.cwd = work.path();
  const cli::ProgramRun exported = cli::run_program(
      {"export", "--folder", sample_folder.string(), "--output", "ProvaExport.txt", "--departments", "yes"}, setup);
  EXPECT_EQ(exported.exit_code, 0) << exported.err;
  lines.Shown(exported.err, "export");
  // The first line says the department answer the option gave; the last names the report and sums it up.
  const std::vector<std::string> printed = ShownLines(exported.err);
  if (!printed.empty()) lines.Shown(printed.front(), "export, first line", true);
  if (!printed.empty()) lines.Shown(printed.back(), "export, last line", true);
  lines.ShownPage(ReadText(work / "ProvaExport.html"), "report page");

  const cli::ProgramRun verified = cli::run_program({"verify", (work / "ProvaExport.txt").string()});
  EXPECT_EQ(verified.exit_code, 0) << verified.out;
  lines.Shown(verified.out, "verify");
  {
    // The transfer file cut after its first three lines.
    const std::string whole = ReadText(work / "ProvaExport.txt");
    std::size_t cut = 0;
    for (int line = 0; line < 3 && cut != std::string::npos; ++line) {
      cut = whole.find("\r\n", cut);
      if (cut != std::string::npos) cut += 2;
    }
    ASSERT_NE(cut, std::string::npos) << "the transfer file has fewer than three lines";
    std::ofstream(work / "Tronco.txt", std::ios::binary) << whole.substr(0, cut);
  }
  const cli::ProgramRun broken = cli::run_program({"verify", (work / "Tronco.txt").string()});
  EXPECT_EQ(broken.exit_code, 1) << broken.out;
  lines.Shown(broken.out, "verify of a broken file");

  // An item code held twice (the two differ in case only, as Jet compares them): its movement is
  // written twice.
  const std::filesystem::path doubled = work / "righe-doppie";
  std::filesystem::create_directory(doubled);
  run::SchemaArchive()
      .without_primary_key("Magazzino")
      .row("Magazzino", {{"Codice", Value::text(u"A1")}})
      .row("Magazzino", {{"Codice", Value::text(u"a1")}})
      .row("GiornaleMagazzino", {{"idGiornaleMagazzino", Value::long_(7)}, {"Codice", Value::text(u"A1")}})
      .write(doubled);
  const cli::ProgramRun twice = cli::run_program(
      {"export", "--folder", doubled.string(), "--output", "Doppie.txt", "--departments", "no"}, setup);
  EXPECT_EQ(twice.exit_code, 0) << twice.err;
  lines.Shown(twice.err, "export of an archive with a row written twice");
  lines.ShownPage(ReadText(work / "Doppie.html"), "report page with a row written twice");

  const cli::ProgramRun dry = cli::run_program(
      {"report", "--folder", doubled.string(), "--output", "Prova.html", "--departments", "no"}, setup);
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  lines.Shown(dry.err, "report");
  lines.ShownPage(ReadText(work / "Prova.html"), "report page without a transfer file");

  const cli::ProgramRun answered_no = cli::run_program(
      {"report", "--folder", sample_folder.string(), "--output", "No.html", "--departments", "no"}, setup);
  EXPECT_EQ(answered_no.exit_code, 0) << answered_no.err;
  const std::vector<std::string> said = ShownLines(answered_no.err);
  if (!said.empty()) lines.Shown(said.front(), "report, first line", true);
}

// The command written wrongly: the first line says what is wrong, then comes the usage, whose
// first line must be quoted. Without a terminal the department answer must be given.
void GatherUsage(ProgramLines& lines, const std::filesystem::path& sample_folder) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"export", "--folder", sample_folder.string(), "--departments", "si"},
           {"export", "--folder", sample_folder.string(), "--tipo", "x"},
           {"export", "--folder", sample_folder.string()}}) {
    const cli::ProgramRun wrong = cli::run_program(args);
    EXPECT_EQ(wrong.exit_code, 64) << wrong.err;
    const std::vector<std::string> printed = ShownLines(wrong.err);
    lines.Shown(wrong.err, "wrong usage");
    if (printed.size() >= 2) {
      lines.Shown(printed[0], "wrong usage, first line", true);
      lines.Shown(printed[1], "usage, first line", true);
    }
  }
}

// What the command says when it has a console of its own (a double click in Explorer): made by
// the function the Windows program calls, since nothing on Linux starts it that way.
void GatherConsoleNotice(ProgramLines& lines) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  tarvik::cli::print_console_notice(file);
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  lines.Shown(text, "console notice");
  const std::vector<std::string> printed = ShownLines(text);
  ASSERT_GE(printed.size(), 3u) << text;
  lines.Shown(printed[0], "console notice, first line", true);
  lines.Shown(printed[1], "console notice, second line", true);
  lines.Shown(printed.back(), "console notice, last line", true);
}

// Gathered once, by the first test that needs them.
const ProgramLines& Program() {
  static const ProgramLines gathered = [] {
    ProgramLines lines;
    TempDir archives;
    run::write_sample(archives.path());
    GatherWindow(lines, archives.path());
    GatherErrors(lines);
    GatherCommand(lines, archives.path());
    GatherUsage(lines, archives.path());
    GatherConsoleNotice(lines);
    return lines;
  }();
  return gathered;
}

std::vector<Quote> GuideQuotes() {
  const std::string guide = ReadText(kGuideFile);
  EXPECT_FALSE(guide.empty()) << "no guide at " << kGuideFile;
  try {
    return Quotes(guide);
  } catch (const std::runtime_error& e) {
    ADD_FAILURE() << kGuideFile << ": " << e.what();
    return {};
  }
}

// The program's line that begins most like the quote, to show beside a quote that matches none.
std::string Closest(const ProgramLines& program, std::string_view quote) {
  std::size_t best = 0;
  std::string closest = "(none)";
  for (const ProgramLine& line : program.lines()) {
    std::size_t same = 0;
    while (same < quote.size() && same < line.text.size() && quote[same] == line.text[same]) ++same;
    if (same > best) {
      best = same;
      closest = std::string(kOpen) + line.text + std::string(kClose) + " (" + line.where + ")";
    }
  }
  return closest;
}

bool AnyQuoteMatches(const std::vector<Quote>& quotes, std::string_view line) {
  for (const Quote& quote : quotes)
    if (Matches(quote.text, line)) return true;
  return false;
}

TEST(UserGuide, EveryQuoteIsALineTheProgramShows) {
  const std::vector<Quote> quotes = GuideQuotes();
  ASSERT_FALSE(quotes.empty()) << "the guide quotes nothing";
  const ProgramLines& program = Program();
  for (const Quote& quote : quotes) {
    bool shown = false;
    for (const ProgramLine& line : program.lines()) {
      if (Matches(quote.text, line.text)) {
        shown = true;
        break;
      }
    }
    EXPECT_TRUE(shown) << "docs/guida.md, line " << quote.line << ": " << kOpen << quote.text << kClose
                       << " is no line the program shows; the closest: " << Closest(program, quote.text);
  }
}

TEST(UserGuide, EveryMessageAUserMeetsIsQuoted) {
  const std::vector<Quote> quotes = GuideQuotes();
  std::set<std::string> seen;
  for (const ProgramLine& line : Program().lines()) {
    if (!line.required || !seen.insert(line.text).second) continue;
    EXPECT_TRUE(AnyQuoteMatches(quotes, line.text))
        << "docs/guida.md does not quote " << kOpen << line.text << kClose << " (" << line.where << ")";
  }
}

TEST(UserGuide, QuotesShowInMarkdownAsTheyAreWritten) {
  for (const Quote& quote : GuideQuotes()) {
    EXPECT_EQ(MarkdownHazard(quote.text), "") << "docs/guida.md, line " << quote.line << ": " << quote.text;
    EXPECT_GE(LiteralLength(quote.text), 2u)
        << "docs/guida.md, line " << quote.line << ": " << quote.text << " quotes almost nothing of the program";
  }
}

TEST(UserGuideQuotes, AQuoteWrappedOverLinesReadsAsOneLine) {
  const std::vector<Quote> quotes =
      Quotes("Il messaggio \xC2\xAB" "La cartella\n   specificata non esiste\xC2\xBB\n"
             "e il pulsante \xC2\xAB" "S\xC3\xAC\xC2\xBB; qui \xC2\xAB" "due  spazi\xC2\xBB.\n");
  ASSERT_EQ(quotes.size(), 3u);
  EXPECT_EQ(quotes[0].text, "La cartella specificata non esiste");
  EXPECT_EQ(quotes[0].line, 1);
  EXPECT_EQ(quotes[1].text, "S\xC3\xAC");
  EXPECT_EQ(quotes[1].line, 3);
  EXPECT_EQ(quotes[2].text, "due  spazi");
}

TEST(UserGuideQuotes, UnbalancedMarksAreMistakesOfTheGuide) {
  EXPECT_THROW(Quotes("\xC2\xAB" "Procedi"), std::runtime_error);
  EXPECT_THROW(Quotes("Procedi\xC2\xBB"), std::runtime_error);
  EXPECT_THROW(Quotes("\xC2\xAB" "a \xC2\xAB" "b\xC2\xBB"), std::runtime_error);
  EXPECT_TRUE(Quotes("nessuna citazione").empty());
}

TEST(UserGuideQuotes, AQuoteIsAWholeLineWhereAnEllipsisStandsForOneCharacterOrMore) {
  EXPECT_TRUE(Matches("Procedi", "Procedi"));
  EXPECT_FALSE(Matches("Procedi", "Procedi "));
  EXPECT_FALSE(Matches("Righe escluse", "Righe escluse: 16"));
  EXPECT_FALSE(Matches("escluse: 16", "Righe escluse: 16"));
  EXPECT_TRUE(Matches("Righe escluse: \xE2\x80\xA6", "Righe escluse: 16"));
  EXPECT_FALSE(Matches("Righe escluse: \xE2\x80\xA6", "Righe escluse: "));
  EXPECT_TRUE(Matches("Avanzamento: \xE2\x80\xA6/\xE2\x80\xA6", "Avanzamento: 100/3747"));
  EXPECT_FALSE(Matches("Avanzamento: \xE2\x80\xA6/\xE2\x80\xA6", "Avanzamento: /3747"));
  EXPECT_FALSE(Matches("Avanzamento: \xE2\x80\xA6/\xE2\x80\xA6", "Avanzamento: 100/"));
  EXPECT_TRUE(Matches("testata \xE2\x80\xA6 esclusa (cliente \xE2\x80\xA6 inesistente)",
                      "testata 2 esclusa (cliente 55 inesistente)"));
  EXPECT_FALSE(Matches("testata \xE2\x80\xA6 esclusa (cliente \xE2\x80\xA6 inesistente)",
                       "testata 2 esclusa (fornitore 55 inesistente)"));
  // The program's own "…" is one character like any other.
  EXPECT_TRUE(Matches("\xE2\x80\xA6 e altre \xE2\x80\xA6 non elencate.", "\xE2\x80\xA6 e altre 12 non elencate."));
}

TEST(UserGuideQuotes, ShownLinesBreakAtEveryLineEndAndDropTheBlanksNobodySees) {
  EXPECT_EQ(ShownLines("uno\r\ndue  \n\ntre\rquattro\t"),
            (std::vector<std::string>{"uno", "due", "tre", "quattro"}));
  EXPECT_EQ(ShownLines("Ecco l'elenco dei codici da modificare: \r\n\r\nVITE-M8\r\n"),
            (std::vector<std::string>{"Ecco l'elenco dei codici da modificare:", "VITE-M8"}));
}

TEST(UserGuideQuotes, MarkdownWouldChangeEmphasisMarkupAndEscapes) {
  EXPECT_EQ(MarkdownHazard("Impossibile trovare il file 'C:\\Tarvik\\Tarvik.mdb'."), "");
  EXPECT_NE(MarkdownHazard("'C:\\Tarvik\\'"), "");
  EXPECT_NE(MarkdownHazard("nome_file"), "");
  EXPECT_NE(MarkdownHazard("<b>"), "");
  EXPECT_EQ(LiteralLength("\xE2\x80\xA6 \xE2\x80\xA6"), 0u);
  EXPECT_EQ(LiteralLength("Sì"), 3u);  // bytes, not characters: enough to tell a quote from none
}

}  // namespace
}  // namespace tarvik::test::guide
