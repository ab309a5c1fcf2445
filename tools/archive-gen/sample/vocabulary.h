// Italian words for the sample archive: people, companies, streets and towns, goods, banks,
// carriers. Texts are UTF-16 as the archive stores them; a few towns and names carry letters that
// Windows-1252 lacks (Polish, Hungarian, Greek, Chinese), as foreign customers do.
#pragma once

#include <span>
#include <string_view>

namespace tarvik::archive_gen::sample::vocabulary {

using Words = std::span<const std::u16string_view>;

struct Town {
  std::u16string_view name;
  std::u16string_view province;  // two letters; empty abroad
  std::u16string_view cap;       // postal code; empty abroad
};

struct Family {
  std::u16string_view code;
  Words goods;  // descriptions of items of this family
  std::u16string_view unit;
};

Words first_names();
Words surnames();
Words trades();           // "Ferramenta", "Autotrasporti", ...
Words company_forms();    // "S.r.l.", "S.p.A.", ...
Words streets();          // "Via Roma", "Corso Vittorio Emanuele II", ...
std::span<const Town> towns();
std::span<const Town> foreign_towns();  // with letters outside Windows-1252
Words foreign_companies();              // likewise
std::span<const Family> families();
Words banks();
Words carriers();
Words sentences();        // for notes: whole sentences, with accents and the euro sign
Words shelves();          // locations that are shelf names
Words departments();      // locations that look like till departments: "1", "07", " 7", "+5", ".6"
Words non_departments();  // short locations that do not: "0", "00", "-1", "A", "100"
Words transport_reasons();
Words goods_appearances();
Words producers();
Words payment_terms();    // descriptions of payment conditions
Words vat_descriptions();
Words journal_causals();

}  // namespace tarvik::archive_gen::sample::vocabulary
