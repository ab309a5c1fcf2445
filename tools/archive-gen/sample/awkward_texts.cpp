#include "awkward_texts.h"

#include "common/utf8.h"
#include "sample_values.h"
#include "vocabulary.h"

namespace tarvik::archive_gen::sample {

MemoSize draw_memo_size(Rng& rng, bool very_long_allowed) {
  const std::uint32_t roll = rng.below(1000);
  if (roll < 60) return MemoSize::Empty;
  if (roll < 560) return MemoSize::Short;
  if (roll < 800) return MemoSize::MultiLine;
  if (roll < 900) return MemoSize::Inline;
  if (roll < 950) return MemoSize::OnePage;
  if (roll < 975) return MemoSize::MultiPage;
  if (roll < 990) return MemoSize::Foreign;
  return very_long_allowed ? MemoSize::VeryLong : MemoSize::MultiPage;
}

namespace {

std::u16string sentences_up_to(Rng& rng, std::size_t length, bool foreign) {
  static constexpr std::u16string_view kForeign[] = {
      u"Zamówienie nr 12 – dostawa do Łodzi. ", u"Szállítás Győrbe, köszönöm. ",
      u"Παράδοση στην Αθήνα την Τρίτη. ", u"東京の倉庫へ発送してください。", u"請於週五前交貨。"};
  std::u16string out;
  int line = 1;
  while (out.size() < length) {
    out += u"[";
    out += digits(line++);
    out += u"] ";
    const int count = rng.between(1, 4);
    for (int i = 0; i < count; ++i) {
      out += foreign ? kForeign[rng.below(5)] : rng.pick(vocabulary::sentences());
      out += u' ';
    }
    out += u"\r\n";
  }
  out.resize(length);
  return out;
}

}  // namespace

std::u16string memo_text(Rng& rng, MemoSize size) {
  switch (size) {
    case MemoSize::Empty: return u"";
    case MemoSize::Short: return std::u16string(rng.pick(vocabulary::sentences()));
    case MemoSize::MultiLine: {
      std::u16string out(rng.pick(vocabulary::sentences()));
      const int lines = rng.between(2, 5);
      for (int i = 1; i < lines; ++i) {
        out += u"\r\n";
        out += rng.pick(vocabulary::sentences());
      }
      // Notes typed in a form often end with a line break.
      if (rng.chance(300)) out += u"\r\n";
      return out;
    }
    case MemoSize::Inline: return sentences_up_to(rng, static_cast<std::size_t>(rng.between(200, 500)), false);
    case MemoSize::OnePage: return sentences_up_to(rng, static_cast<std::size_t>(rng.between(2000, 3000)), false);
    case MemoSize::MultiPage: return sentences_up_to(rng, static_cast<std::size_t>(rng.between(8000, 10000)), false);
    case MemoSize::Foreign: return sentences_up_to(rng, static_cast<std::size_t>(rng.between(2500, 3500)), true);
    case MemoSize::VeryLong: return sentences_up_to(rng, static_cast<std::size_t>(rng.between(36000, 44000)), false);
  }
  return u"";
}

std::u16string with_control_characters(std::u16string_view text, Rng& rng) {
  static constexpr char16_t kControls[] = {u'\a', u'\f', u'\v', u'\x1B', u'\0', u'\t', u'\x01'};
  std::u16string out(text);
  const int count = rng.between(1, 3);
  for (int i = 0; i < count && !out.empty(); ++i) {
    const std::size_t at = rng.below(static_cast<std::uint32_t>(out.size()));
    if (at > 0 && is_high_surrogate(out[at - 1])) continue;
    out.insert(at, 1, kControls[rng.below(sizeof kControls / sizeof kControls[0])]);
  }
  if (rng.chance(500)) out += u"\r\n";
  return out;
}

}  // namespace tarvik::archive_gen::sample
