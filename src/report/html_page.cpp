#include "report/html_page.h"

#include "report/html_text.h"

namespace tarvik::report {

namespace {

constexpr const char* kStyle = R"(body{font-family:sans-serif;margin:2em;color:#222}
h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.6em;border-bottom:1px solid #999}
h3{font-size:1em}table{border-collapse:collapse;margin:.5em 0}
th,td{border:1px solid #bbb;padding:.2em .5em;text-align:left;vertical-align:top}
td.n,th.n{text-align:right}tr.attenzione td{background:#fff3d6}
dl{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}dt{font-weight:bold}dd{margin:0}
p.altri{font-style:italic}
@media print{body{margin:0}h2{break-after:avoid}tr{break-inside:avoid}})";

void append(std::string& out, std::string_view text) { out += text; }

void definition(std::string& out, std::string_view term, std::string_view value, std::string_view id = {}) {
  out += "<dt>";
  out += term;
  out += "</dt><dd";
  if (!id.empty()) out.append(" id=\"").append(id).append("\"");
  out += ">";
  AppendEscaped(out, value);
  out += "</dd>\n";
}

void heading(std::string& out, const ReportHeading& h, std::string_view version) {
  out += "<dl>\n";
  definition(out, "Archivio", h.archive_path);
  definition(out, "Dimensione dell'archivio", std::to_string(h.archive_size) + " byte");
  definition(out, "Ultima modifica dell'archivio", h.archive_modified);
  if (h.transfer_path) {
    definition(out, "File di trasferimento", *h.transfer_path, "file-trasferimento");
    definition(out, "Dimensione del file di trasferimento", std::to_string(h.transfer_size) + " byte",
               "dimensione-trasferimento");
  } else {
    definition(out, "File di trasferimento", "nessuno: prova senza esportazione", "file-trasferimento");
  }
  definition(out, "Data e ora dell'esportazione", h.exported_at, "data-esportazione");
  definition(out, "Versione del programma", version);
  definition(out, "Totale dei record (riga 1)", std::to_string(h.total));
  definition(out, "Reparti nelle ubicazioni (riga 2)", h.departments ? "Sì (T)" : "No (F)");
  out += "</dl>\n";
}

void summary(std::string& out, const TransferReport& report) {
  out += "<h2>Riepilogo per blocco</h2>\n<table id=\"riepilogo\">\n"
         "<tr><th>Blocco</th><th>Record scritti</th><th>Righe escluse</th><th>Valori modificati</th></tr>\n";
  for (const BlockReport& block : report.blocks()) {
    const bool notable = block.left_out.count() > 0 || block.changed.count() > 0 || block.extra_copies > 0;
    out += "<tr data-blocco=\"";
    AppendEscaped(out, block.name);
    out += "\" data-scritti=\"" + std::to_string(block.written) + "\" data-esclusi=\"" +
           std::to_string(block.left_out.count()) + "\" data-modificati=\"" + std::to_string(block.changed.count()) +
           "\"" + (notable ? " class=\"attenzione\"" : "") + "><td>";
    if (notable) out += "<a href=\"#blocco-" + Escaped(block.name) + "\">";
    AppendEscaped(out, block.name);
    if (notable) out += "</a>";
    out += "</td><td class=\"n\">" + std::to_string(block.written) + "</td><td class=\"n\">" +
           std::to_string(block.left_out.count()) + "</td><td class=\"n\">" + std::to_string(block.changed.count()) +
           "</td></tr>\n";
  }
  const ReportTotals totals = report.totals();
  out += "<tr><th>Totale</th><th class=\"n\">" + std::to_string(totals.written) + "</th><th class=\"n\">" +
         std::to_string(totals.left_out) + "</th><th class=\"n\">" + std::to_string(totals.changed) +
         "</th></tr>\n</table>\n";
}

void more_entries(std::string& out, std::int64_t not_shown) {
  if (not_shown <= 0) return;
  out += "<p class=\"altri\">… e altre " + std::to_string(not_shown) + " non elencate.</p>\n";
}

// Hands what is formed to the sink once it fills a piece: a long report is never held whole.
void pass_on(std::string& out, const PageSink& sink) {
  constexpr std::size_t kPiece = 64 * 1024;
  if (out.size() < kPiece) return;
  sink(out);
  out.clear();
}

void rows_table(std::string& out, const PageSink& sink, std::string_view list_class,
                const CappedList<ListedRow>& rows) {
  out.append("<table class=\"").append(list_class).append("\">\n<tr><th>Riga</th><th>Motivo</th></tr>\n");
  for (const ListedRow& row : rows.shown()) {
    out += "<tr><td>";
    AppendEscaped(out, row.key);
    out += "</td><td>";
    AppendEscaped(out, row.reason);
    out += "</td></tr>\n";
    pass_on(out, sink);
  }
  out += "</table>\n";
  more_entries(out, rows.not_shown());
}

void block_details(std::string& out, const PageSink& sink, const BlockReport& block) {
  if (block.left_out.count() == 0 && block.changed.count() == 0 && block.extra_copies == 0) return;
  out += "<section id=\"blocco-";
  AppendEscaped(out, block.name);
  out += "\">\n<h2>";
  AppendEscaped(out, block.name);
  out += "</h2>\n";
  if (block.left_out.count() > 0) {
    out += "<h3>Righe escluse: " + std::to_string(block.left_out.count()) + "</h3>\n";
    rows_table(out, sink, "escluse", block.left_out);
  }
  if (block.extra_copies > 0) {
    out += "<h3>Righe scritte più volte: " + std::to_string(block.extra_copies) + " record in più</h3>\n";
    rows_table(out, sink, "doppie", block.duplicates);
  }
  if (block.changed.count() > 0) {
    out += "<h3>Valori modificati: " + std::to_string(block.changed.count()) + "</h3>\n"
           "<table class=\"modificati\">\n<tr><th>Campo</th><th>Record</th><th>Modifica</th></tr>\n";
    for (const ChangedValue& value : block.changed.shown()) {
      out += "<tr><td>";
      AppendEscaped(out, value.field);
      out += "</td><td>";
      AppendEscaped(out, value.key);
      out += "</td><td>";
      AppendEscaped(out, value.change);
      out += "</td></tr>\n";
      pass_on(out, sink);
    }
    out += "</table>\n";
    more_entries(out, block.changed.not_shown());
  }
  out += "</section>\n";
}

}  // namespace

void WriteHtmlPage(const TransferReport& report, std::string_view version, const PageSink& sink) {
  std::string out;
  append(out, "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n"
              "<title>Resoconto del trasferimento dati Tarvik</title>\n<style>");
  append(out, kStyle);
  append(out, "</style>\n</head>\n<body>\n<h1>Resoconto del trasferimento dati Tarvik</h1>\n");
  heading(out, report.heading(), version);
  const ReportTotals totals = report.totals();
  out += "<p>Record scritti: " + std::to_string(totals.written) + ". Righe dell'archivio escluse: " +
         std::to_string(totals.left_out) + ". Valori modificati: " + std::to_string(totals.changed) + ".</p>\n";
  summary(out, report);
  for (const BlockReport& block : report.blocks()) block_details(out, sink, block);
  append(out, "</body>\n</html>\n");
  sink(out);
}

}  // namespace tarvik::report
