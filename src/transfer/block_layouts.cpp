#include "transfer/block_layouts.h"

#include <initializer_list>

namespace tarvik::transfer {

namespace {

// `lines` value lines per record; the 1-based positions in `raw_memos` are raw memos.
BlockLayout block(std::string_view name, std::size_t lines, std::initializer_list<std::size_t> raw_memos = {}) {
  BlockLayout layout{name, std::vector<bool>(lines, false)};
  for (std::size_t position : raw_memos) layout.raw_memo[position - 1] = true;
  return layout;
}

}  // namespace

const std::vector<BlockLayout>& block_layouts() {
  static const std::vector<BlockLayout> layouts = {
      block("TabellaAspettoBeni", 2),
      block("BancheAppoggio", 5),
      block("TabellaCausaliTrasporto", 3),
      block("CondPag", 15),
      block("TabellaIVA", 3),
      block("TabellaProduttori", 2),
      block("TabellaVettori", 7),
      block("CausPrim", 3),
      block("TabellaContiCorrenti", 2),
      block("CliFor", 41, {17}),
      block("Agenti", 19),
      block("LinkAgentiCliFor", 2),
      block("Magazzino", 21, {16}),
      block("BarcodeMagazzino", 2),
      block("GiornaleMagazzino", 10),
      block("LinkMagazzinoFornitori", 10),
      block("DistinteMagazzino", 5),
      block("StampaPersonalizzata", 15),
      block("StampaPersonalizzata2", 5),
      block("TestataFattAcc", 36),
      block("RigheFattAcc", 11),
      block("TestataFatture", 29),
      block("RigheFatture", 11),
      block("TestataBolle", 35),
      block("RigheBolle", 11),
      block("TestataOrdCli", 28),
      block("RigheOrdCli", 11),
      block("TestataPreventivi", 25),
      block("RighePreventivi", 11),
      block("TestataDocGen1", 25),
      block("RigheDocGen1", 11),
      block("TestataOrdForn", 21),
      block("RigheOrdForn", 11),
      block("PrimanotaDocumenti", 16, {12}),
      block("PrimanotaMovimenti", 8),
      block("ProgrDocumenti", 3),
  };
  return layouts;
}

}  // namespace tarvik::transfer
