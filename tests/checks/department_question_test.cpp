// The department question: asked only when some warehouse location looks like a till department,
// answered by the user, and never an error for the run.
#include <gtest/gtest.h>

#include "checks/archive_checks.h"
#include "checks/standard_text.h"
#include "exporters/master_data_tables.h"
#include "support/recording_window.h"

namespace tarvik::test::master {
namespace {

using checks::AskDepartmentUse;

archive_gen::TableSpec items() {
  return {"Magazzino", {text_column("Codice", 20), text_column("Descrizione", 80), text_column("Collocazione", 20)},
          {"Codice"}};
}

// An archive whose items have these locations (null for a null pointer).
class Locations {
 public:
  explicit Locations(const std::vector<const char16_t*>& locations) : archive_(build(locations)) {}
  archive::Database& db() { return *db_; }

 private:
  static std::vector<TestTable> build(const std::vector<const char16_t*>& locations) {
    Table table(items());
    int code = 0;
    for (const char16_t* location : locations) {
      std::u16string codice = u"ART" + std::u16string(1, static_cast<char16_t>(u'A' + code++));
      table.row({{"Codice", T(codice)}, {"Collocazione", location ? T(location) : null()}});
    }
    return {table};
  }
  ArchiveOfTest archive_;
  std::unique_ptr<archive::Database> db_ = archive::Database::open(archive_.path().string());
};

const std::string kQuestion =
    "Per ogni articolo di magazzino Tarvik poteva utilizzare la collocazione per memorizzare il reparto da "
    "utilizzare quando si stampa lo scontrino.\r\n"
    "Sembra che questi archivi contengano i valori del reparto nella collocazione degli articoli di magazzino.\r\n"
    "\r\n"
    "Vuoi utilizzare i dati contenuti nella collocazione per impostare il reparto negli archivi importati in "
    "Quendal?";

TEST(DepartmentQuestion, ADepartmentLikeLocationAsksTheQuestionAndYesIsTheAnswer) {
  Locations archive({u"Scaffale A", u"3", u"Corridoio 2"});
  RecordingWindow window;
  window.answers = {ui::Answer::Yes};
  EXPECT_TRUE(AskDepartmentUse(archive.db(), window));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, kQuestion);
  EXPECT_EQ(window.messages[0].title, "Importazione archivi Tarvik");
  EXPECT_EQ(window.messages[0].style, 52);
}

TEST(DepartmentQuestion, NoIsAnAnswerToo) {
  Locations archive({u"12"});
  RecordingWindow window;
  window.answers = {ui::Answer::No};
  EXPECT_FALSE(AskDepartmentUse(archive.db(), window));
  EXPECT_EQ(window.messages.size(), 1u);
}

TEST(DepartmentQuestion, ShortLocationsWhoseNumberRoundsToOneOrMoreLookLikeDepartments) {
  for (const char16_t* location : {u"1", u"01", u"12", u"99", u"+5", u"3A", u" 7", u".6", u"9.", u"1E"}) {
    Locations archive({u"Scaffale", location});
    RecordingWindow window;
    EXPECT_TRUE(AskDepartmentUse(archive.db(), window)) << checks::Utf8(location);
    EXPECT_EQ(window.messages.size(), 1u) << checks::Utf8(location);
  }
}

TEST(DepartmentQuestion, OtherLocationsAskNothing) {
  for (const char16_t* location : {u"0", u"00", u"-1", u"A", u"100", u"", u".5", u" ", u"+", u".", u"-9"}) {
    Locations archive({u"Scaffale", location, nullptr});
    RecordingWindow window;
    EXPECT_FALSE(AskDepartmentUse(archive.db(), window)) << checks::Utf8(location);
    EXPECT_TRUE(window.messages.empty()) << checks::Utf8(location);
  }
}

TEST(DepartmentQuestion, NoItemsOrOnlyNullLocationsAskNothing) {
  for (const auto& locations : {std::vector<const char16_t*>{}, std::vector<const char16_t*>{nullptr, nullptr}}) {
    Locations archive(locations);
    RecordingWindow window;
    EXPECT_FALSE(AskDepartmentUse(archive.db(), window));
    EXPECT_TRUE(window.messages.empty());
  }
}

TEST(DepartmentQuestion, AnyFailureMeansNoWithoutAMessage) {
  archive_gen::TableSpec without_locations = items();
  without_locations.columns.pop_back();
  for (const auto& tables : {std::vector<TestTable>{Table(without_locations)},
                             std::vector<TestTable>{Table(TabellaIVA())}}) {
    ArchiveOfTest archive(tables);
    auto db = archive::Database::open(archive.path().string());
    RecordingWindow window;
    EXPECT_FALSE(AskDepartmentUse(*db, window));
    EXPECT_TRUE(window.messages.empty());
  }
}

}  // namespace
}  // namespace tarvik::test::master
