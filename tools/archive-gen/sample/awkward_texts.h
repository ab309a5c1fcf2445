// The texts that make an archive awkward to carry over: notes of every length (empty, one line,
// several lines, the size of a row, one long-value page, several pages, longer than a text line
// may be), control characters, accented letters, the euro sign and letters outside Windows-1252.
#pragma once

#include <string>

#include "prng.h"

namespace tarvik::archive_gen::sample {

enum class MemoSize {
  Empty,      // "" (not null)
  Short,      // one sentence
  MultiLine,  // a few lines joined by CR LF
  Inline,     // a few hundred characters: still kept in the row
  OnePage,    // about 2 500 characters: one long-value page
  MultiPage,  // about 9 000 characters: a chain of pages
  Foreign,    // about 3 000 characters mostly outside Windows-1252: stored uncompressed, several pages
  VeryLong,   // about 40 000 characters: only for notes exported as they are, since a cleaned text
              // line is limited to 32 766 characters
};

// A size drawn with the weights of a real archive: mostly short notes, now and then a long one.
// `very_long_allowed` only for notes that the export writes raw.
MemoSize draw_memo_size(Rng& rng, bool very_long_allowed);

// A note of the given size: Italian sentences, line breaks every few sentences.
std::u16string memo_text(Rng& rng, MemoSize size);

// Control characters slipped into a text, as pasted texts bring them: BEL, form feed, vertical
// tab, ESC, a NUL, a TAB (which a cleaned line keeps) and a line break.
std::u16string with_control_characters(std::u16string_view text, Rng& rng);

}  // namespace tarvik::archive_gen::sample
