#include <cmath>
#include <charconv>
#include <exception>
#include <string>

#include "checks/archive_checks.h"
#include "checks/check_queries.h"
#include "checks/standard_text.h"

namespace tarvik::checks {

const char* const kLocationsQuery = "SELECT DISTINCT Collocazione FROM Magazzino";

namespace {

constexpr const char* kQuestion =
    "Per ogni articolo di magazzino Tarvik poteva utilizzare la collocazione per memorizzare il "
    "reparto da utilizzare quando si stampa lo scontrino.\r\n"
    "Sembra che questi archivi contengano i valori del reparto nella collocazione degli articoli di "
    "magazzino.\r\n\r\n"
    "Vuoi utilizzare i dati contenuti nella collocazione per impostare il reparto negli archivi "
    "importati in Quendal?";

// The decimal number a text starts with, after leading blanks: an optional sign, digits and one
// decimal point; reading stops at the first other character; no number at all is 0.
double leading_number(const archive::Text& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::string number;
  bool point = false, digits = false;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      break;
    }
    number += static_cast<char>(c);
  }
  double value = 0.0;
  // from_chars, unlike strtod, reads "." whatever the locale.
  if (digits) std::from_chars(number.data(), number.data() + number.size(), value);
  return negative ? -value : value;
}

// A location of one or two characters whose number, rounded half to even, is 1 or more.
bool looks_like_department(const archive::Text& location) {
  if (location.empty() || location.size() > 2) return false;
  return std::nearbyint(leading_number(location)) >= 1.0;
}

bool archive_has_department_locations(archive::Database& archive) {
  bool found = false;
  auto locations = archive.open_snapshot(kLocationsQuery);
  // Every row is read, also after a hit: a failure on any of them means no.
  while (!locations->eof()) {
    if (looks_like_department(StandardText(locations->field("Collocazione")))) found = true;
    locations->move_next();
  }
  locations->close();
  return found;
}

}  // namespace

bool AskDepartmentUse(archive::Database& archive, ui::WindowPort& window) {
  try {
    if (!archive_has_department_locations(archive)) return false;
    return window.message_box(kQuestion, ui::kQuestionTitle, ui::kStyleWarningYesNo) == ui::Answer::Yes;
  } catch (const std::exception&) {
    // Any failure means the locations are not used as departments; the run goes on.
    return false;
  }
}

}  // namespace tarvik::checks
