#include "cli/usage.h"

#include <string>

#include "cli/query_command.h"
#include "platform/console.h"

namespace tarvik::cli {
namespace {

// Command and option names stay English, so that scripts keep working; what they do is said in
// Italian, as everything the program shows.
constexpr CommandEntry kCommands[] = {
    {"tables", "ARCHIVIO",
     "ogni tabella dell'utente con il numero delle sue righe e le sue colonne (nome, tipo, dimensione)",
     run_tables_command},
    {"dump", "ARCHIVIO TABELLA",
     "la tabella in righe JSON: prima le colonne, poi un oggetto per riga nell'ordine fisico",
     run_dump_command},
    {"export", "[--folder CARTELLA] [--output FILE] [--departments yes|no]",
     "il trasferimento, come \"Procedi\" nella finestra: il file di trasferimento dell'archivio "
     "Tarvik.mdb nella CARTELLA (senza --folder la cartella di installazione di Tarvik) in FILE "
     "(senza --output ProvaExport.txt)",
     run_export_command},
    {"report", "[--folder CARTELLA] [--output FILE.html] [--departments yes|no]",
     "i controlli e il resoconto di un trasferimento (righe escluse, valori modificati) senza "
     "scrivere il file di trasferimento; il resoconto va in FILE.html (senza --output "
     "ProvaExport.html)",
     run_report_command},
    {"verify", "FILE",
     "legge un file di trasferimento come lo legge Quendal: ogni blocco con il numero dei suoi "
     "record, oppure la prima riga che non rispetta il tracciato",
     run_verify_command},
    {"query", "ARCHIVIO SQL",
     "le righe di una query nel dialetto di Jet, in righe JSON nella forma di dump",
     run_query_command},
};

constexpr std::string_view kUsageLine = "uso: tarvik-transfer COMANDO ARGOMENTI...\n";

}  // namespace

const CommandEntry* find_command(std::string_view name) {
  for (const CommandEntry& command : kCommands)
    if (command.name == name) return &command;
  return nullptr;
}

void print_usage(std::FILE* to) {
  std::string text = std::string(kUsageLine) + "\ncomandi:\n";
  for (const CommandEntry& command : kCommands) {
    text.append("  ").append(command.name).append(" ").append(command.arguments).append("\n      ");
    text.append(command.summary).append("\n");
  }
  text +=
      "  help\n      questo testo\n"
      "  --version\n      la versione del programma\n\n"
      "codici di uscita:\n"
      "  0   fatto\n"
      "  1   l'archivio non si legge (\"Errore NUMERO: DESCRIZIONE\" sullo standard error)\n"
      "      oppure l'uscita non si scrive\n"
      "  2   un errore imprevisto\n"
      "  64  comando scritto in modo sbagliato: comando o opzione sconosciuti, valore o argomenti\n"
      "      mancanti o in numero sbagliato\n"
      "export, report: 1 quando la cartella o un controllo dell'archivio rifiuta il trasferimento,\n"
      "  2 per un errore imprevisto (segnalato: non restano né il file di trasferimento né il\n"
      "  resoconto); alla fine export indica sullo standard error il resoconto (FILE con\n"
      "  l'estensione .html); verify: 1 quando il file non rispetta il tracciato\n";
  platform::WriteText(to, text);
}

// Its lines stay within the 80 columns of a console window.
void print_console_notice(std::FILE* to) {
  std::string text =
      "tarvik-transfer.exe è un comando per il Prompt dei comandi e per gli script.\n"
      "Il trasferimento con la finestra si fa con tarvik-export.exe.\n\n";
  text += std::string(kUsageLine) + "comandi:\n";
  for (const CommandEntry& command : kCommands)
    text.append("  ").append(command.name).append(" ").append(command.arguments).append("\n");
  text +=
      "Tutti i comandi e i codici di uscita: tarvik-transfer help\n\n"
      "Premere un tasto per chiudere questa finestra.\n";
  platform::WriteText(to, text);
  std::fflush(to);
}

}  // namespace tarvik::cli
