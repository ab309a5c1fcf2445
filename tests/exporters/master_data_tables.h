// Tarvik's tables as the lookup, register, agent and accounting blocks read them, with the
// archive's own column types, and rows given by field name (every other field null, or false for
// a Yes/No field, which Jet cannot leave null).
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/export_harness.h"
#include "support/test_archive.h"

namespace tarvik::test::master {

using archive::FieldType;

inline archive_gen::ColumnSpec boolean(std::string name) { return column(std::move(name), FieldType::Boolean); }
inline archive_gen::ColumnSpec byte(std::string name) { return column(std::move(name), FieldType::Byte); }
inline archive_gen::ColumnSpec integer(std::string name) { return column(std::move(name), FieldType::Integer); }
inline archive_gen::ColumnSpec single(std::string name) { return column(std::move(name), FieldType::Single); }
inline archive_gen::ColumnSpec double_(std::string name) { return column(std::move(name), FieldType::Double); }
inline archive_gen::ColumnSpec currency(std::string name) { return column(std::move(name), FieldType::Currency); }
inline archive_gen::ColumnSpec date(std::string name) { return column(std::move(name), FieldType::DateTime); }
inline archive_gen::ColumnSpec memo(std::string name) { return column(std::move(name), FieldType::Memo); }

// Values of the other types.
inline archive::Value B(bool v) { return archive::Value::boolean(v); }
inline archive::Value Y(std::uint8_t v) { return archive::Value::byte(v); }
inline archive::Value I(std::int16_t v) { return archive::Value::integer(v); }
inline archive::Value S(float v) { return archive::Value::single(v); }
inline archive::Value D(double v) { return archive::Value::double_(v); }
inline archive::Value C(std::int64_t ten_thousandths) { return archive::Value::currency({ten_thousandths}); }
inline archive::Value Day(double days) { return archive::Value::datetime({days}); }

using Fields = std::initializer_list<std::pair<const char*, archive::Value>>;

// A table with its rows, each row given by the fields it sets.
class Table {
 public:
  explicit Table(archive_gen::TableSpec spec) { table_.spec = std::move(spec); }
  Table& row(Fields fields) {
    std::vector<archive::Value> values;
    for (const auto& c : table_.spec.columns)
      values.push_back(c.type == FieldType::Boolean ? B(false) : null());
    for (const auto& [name, value] : fields) {
      std::size_t i = 0;
      while (i < table_.spec.columns.size() && table_.spec.columns[i].name != name) ++i;
      if (i == table_.spec.columns.size()) throw std::invalid_argument(std::string("no column ") + name);
      values[i] = value;
    }
    table_.rows.push_back(std::move(values));
    return *this;
  }
  operator TestTable() const { return table_; }  // NOLINT: a Table is written where a TestTable is

 private:
  TestTable table_;
};

inline archive_gen::TableSpec TabellaAspettoBeni() {
  return {"TabellaAspettoBeni", {long_column("idRecord", true), text_column("Descrizione")}, {"idRecord"}};
}
inline archive_gen::TableSpec BancheAppoggio() {
  return {"BancheAppoggio",
          {long_column("idBanca", true), text_column("BancaAppoggio"), text_column("BancaAppoggio2"),
           text_column("ABI", 5), text_column("CAB", 5)},
          {"idBanca"}};
}
inline archive_gen::TableSpec TabellaCausaliTrasporto() {
  return {"TabellaCausaliTrasporto",
          {long_column("idRecord", true), text_column("Descrizione"), boolean("FatturareDDT")},
          {"idRecord"}};
}
inline archive_gen::TableSpec CondPag() {
  return {"CondPag",
          {long_column("idCondPag", true), text_column("Descrizione"),
           integer("Giorni1"), boolean("FineMese1"), single("Percentuale1"),
           integer("Giorni2"), boolean("FineMese2"), single("Percentuale2"),
           integer("Giorni3"), boolean("FineMese3"), single("Percentuale3"),
           integer("Giorni4"), boolean("FineMese4"), single("Percentuale4"),
           boolean("RicevutaBancaria")},
          {"idCondPag"}};
}
inline archive_gen::TableSpec TabellaIVA() {
  return {"TabellaIVA", {long_column("idTabIva", true), text_column("Descrizione"), double_("Aliquota")}, {"idTabIva"}};
}
inline archive_gen::TableSpec TabellaProduttori() {
  return {"TabellaProduttori", {long_column("idRecord", true), text_column("Descrizione")}, {"idRecord"}};
}
inline archive_gen::TableSpec TabellaVettori() {
  return {"TabellaVettori",
          {long_column("idRecord", true), text_column("Descrizione"), text_column("Descrizione2"),
           text_column("Descrizione3"), text_column("Descrizione4"), text_column("PartitaIVA", 11),
           text_column("IscrizioneAlbo", 30)},
          {"idRecord"}};
}
inline archive_gen::TableSpec CausPrim() {
  return {"CausPrim", {long_column("idCausPrim", true), text_column("Descrizione"), byte("PagamentoIncasso")}, {"idCausPrim"}};
}
inline archive_gen::TableSpec TabellaContiCorrenti() {
  return {"TabellaContiCorrenti", {long_column("idRecord", true), text_column("Descrizione")}, {"idRecord"}};
}

inline archive_gen::TableSpec CliFor() {
  return {"CliFor",
          {long_column("idCliFor", true), text_column("ClienteOFornitore", 1), text_column("NomeAbituale"),
           text_column("RagioneSociale1"), text_column("RagioneSociale2"), text_column("Indirizzo"),
           text_column("Indirizzo2"), text_column("CAP", 5), text_column("Citta"), text_column("Provincia", 2),
           text_column("PartitaIVA", 11), text_column("CodiceFiscale", 16), text_column("Telefono1", 20),
           text_column("Telefono2", 20), text_column("Fax", 20), byte("FasciaDiPrezzo"), memo("Note"),
           integer("Tipo"), long_column("idCondPag"), text_column("Vettore1"), text_column("Vettore2"),
           text_column("BancaAppoggio"), boolean("Annullato"), text_column("E-Mail", 100),
           text_column("BancaAppoggio2"), text_column("ABI", 5), text_column("CAB", 5), long_column("idTabIva"),
           text_column("SLRagioneSociale1"), text_column("SLRagioneSociale2"), text_column("SLIndirizzo"),
           text_column("SLIndirizzo2"), text_column("SLCAP", 5), text_column("SLCitta"),
           text_column("SLProvincia", 2), memo("NoteInFattura"), single("ScontoAbituale"),
           memo("NoteInPreventivo"), currency("SpeseBanca"), currency("SpeseTrasporto"),
           long_column("idVettore1"), long_column("idAgente"), memo("NoteInBolla"), date("DataInserimento")},
          {"idCliFor"}};
}

inline archive_gen::TableSpec Agenti() {
  std::vector<archive_gen::ColumnSpec> columns = {long_column("idCliFor"), byte("TipoProvvigione"), single("ProvvFissa")};
  for (int band = 1; band <= 8; ++band) {
    columns.push_back(currency("Fascia" + std::to_string(band) + "Fin"));
    columns.push_back(single("Fascia" + std::to_string(band) + "Provv"));
  }
  return {"Agenti", columns, {"idCliFor"}};
}

// The invoice headers, with the fields the journal documents' look-up and joins need.
inline archive_gen::TableSpec TestataFatture() {
  return {"TestataFatture",
          {long_column("idDocumento", true), text_column("TipoDocumento", 2), long_column("idCliFor"),
           long_column("Numero"), date("Data")},
          {"idDocumento"}};
}
inline archive_gen::TableSpec TestataFattAcc() {
  return {"TestataFattAcc",
          {long_column("idDocumento", true), long_column("idCliFor"), long_column("idDestinazione"),
           long_column("Numero"), date("Data")},
          {"idDocumento"}};
}

inline archive_gen::TableSpec PrimanotaDocumenti() {
  return {"PrimanotaDocumenti",
          {long_column("idPrimanota", true), long_column("idDocumento"), text_column("CreatoDa", 5),
           long_column("idCausPrim"), byte("PagamentoIncasso"), date("DataRegistrazione"), date("DataDocumento"),
           text_column("NDocumento", 20), currency("ImportoTotale"), currency("ImportoIVA"), long_column("idCliFor"),
           memo("Note"), integer("Tipo"), long_column("idCondPag"), long_column("idTabIva"), boolean("Saldato")},
          {"idPrimanota"}};
}
inline archive_gen::TableSpec PrimanotaMovimenti() {
  return {"PrimanotaMovimenti",
          {long_column("idMovimento", true), long_column("idPrimanota"), date("DataScadenza"), currency("Importo"),
           date("DataMovimento"), long_column("idContoCorrente"), text_column("NumAssegno", 20), boolean("StampatoRIBA")},
          {"idMovimento"}};
}
inline archive_gen::TableSpec ProgrDocumenti() {
  return {"ProgrDocumenti", {integer("Anno"), text_column("TipoDocumento", 2), long_column("Progressivo")},
          {"Anno", "TipoDocumento"}};
}

// The memo end marker as the file holds it, in Windows-1252.
inline const std::string kMarker = "@#\xA3$%&/()=?<>FINE MEMO@#\xA3$%&/()=?<>";

// An archive of the test holding `tables`, in a folder of the test.
class ArchiveOfTest {
 public:
  explicit ArchiveOfTest(const std::vector<TestTable>& tables) { write_archive(path(), tables); }
  std::filesystem::path path() const { return dir_ / "Tarvik.mdb"; }

 private:
  TempDir dir_;
};

using Lines = std::vector<std::string>;

// Appends `more` to `lines`.
inline void append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

}  // namespace tarvik::test::master
