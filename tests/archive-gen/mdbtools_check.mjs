// Reads an archive written by archive-gen through mdbtools and checks it against the
// description it was written from: mdb-tables lists the tables, mdb-count gives each row count
// (kept in the table definition), mdb-export gives every value in order, and mdb-schema shows
// each primary key.
// mdbtools 1.0.0 has limits the comparison allows for: mdb-export prints an empty text and a
// null alike, a GUID (with -b hex) as the hex of its braced text without the fourth dash,
// floating-point numbers with limited digits, dates before 1899-12-30 (a negative day count) or
// after the year 4637 as "1900-01-00 00:00:00", and each half of a surrogate pair as "?" (its UCS-2 conversion).
// Usage: node mdbtools_check.mjs DESCRIPTION.json ARCHIVE.mdb [--any-order]
// (--any-order: rows matched by their first column, for archives with moved rows)
import { execFileSync } from "child_process";
import {
  currencyText, dateTimeText, inDescriptionOrder, loadDescription, Mismatches, sameNumber,
} from "./expected_values.mjs";

const [descriptionPath, archivePath, order] = process.argv.slice(2);
const anyOrder = order === "--any-order";
const description = loadDescription(descriptionPath);
const bad = new Mismatches(`mdbtools ${archivePath}`);
const run = (tool, args) =>
  execFileSync(tool, args, { encoding: "utf8", maxBuffer: 1 << 30, stdio: ["ignore", "pipe", "pipe"] });

// mdb-export's CSV: fields quoted with " (doubled inside) or bare; a bare empty field is null.
function parseCsv(text) {
  const rows = [];
  let row = [];
  let i = 0;
  while (i < text.length) {
    let field;
    if (text[i] === '"') {
      let s = "";
      i++;
      for (;;) {
        const q = text.indexOf('"', i);
        s += text.slice(i, q);
        i = q + 1;
        if (text[i] === '"') { s += '"'; i++; } else break;
      }
      field = { quoted: true, text: s };
    } else {
      let j = i;
      while (j < text.length && text[j] !== "," && text[j] !== "\n") j++;
      field = { quoted: false, text: text.slice(i, j) };
      i = j;
    }
    row.push(field);
    if (text[i] === ",") { i++; continue; }
    rows.push(row);
    row = [];
    i++;  // the newline
  }
  return rows;
}

const withoutPairs = (s) => s.replace(/[\uD800-\uDBFF][\uDC00-\uDFFF]/g, "??");
const hexDigits = (s) => s.replace(/[^0-9A-Fa-f]/g, "").toUpperCase();

function matches(type, expected, field) {
  const isNull = !field.quoted && field.text === "";
  if (expected === null) return isNull;
  switch (type) {
    case "boolean": return field.text === (expected ? "1" : "0");
    case "byte": case "integer": case "long": return field.text === String(expected);
    case "single": return sameNumber(Math.fround(expected), field.text, 6);
    case "double": return sameNumber(expected, field.text, 15);
    case "currency": return field.text === currencyText(expected);
    case "datetime": {
      const text = dateTimeText(expected);
      if (Number(text.slice(0, 4)) > 4637 || text < "1899-12-30")
        return field.text === "1900-01-00 00:00:00";
      return field.text === text;
    }
    case "text": case "memo":
      return expected === "" ? isNull || field.text === "" : field.text === withoutPairs(expected);
    case "ole": return field.text === expected.toUpperCase();
    case "guid": return hexDigits(Buffer.from(field.text, "hex").toString("latin1")) === hexDigits(expected);
    default: return false;
  }
}

const tables = run("mdb-tables", ["-1", archivePath]).split("\n").filter((s) => s !== "");
const wanted = description.tables.map((t) => t.name);
if (JSON.stringify(tables.slice().sort()) !== JSON.stringify(wanted.slice().sort()))
  bad.add("mdb-tables", wanted, tables);

const schema = run("mdb-schema", [archivePath, "mysql"]);
let rowsChecked = 0;
for (const table of description.tables) {
  const rows = table.rows ?? [];
  const count = Number(run("mdb-count", [archivePath, table.name]).trim());
  if (count !== rows.length) bad.add(`${table.name} mdb-count`, rows.length, count);

  if (table.primaryKey) {
    const key = `ALTER TABLE \`${table.name}\` ADD PRIMARY KEY (${table.primaryKey.map((k) => `\`${k}\``).join(", ")});`;
    if (!schema.includes(key)) bad.add(`${table.name} mdb-schema`, key, "no such line");
  }

  const csv = parseCsv(run("mdb-export", ["-T", "%Y-%m-%d %H:%M:%S", "-b", "hex", archivePath, table.name]));
  const header = csv.shift().map((f) => f.text);
  if (anyOrder) csv.splice(0, csv.length, ...inDescriptionOrder(table, csv, (row) => row[0]?.text ?? ""));
  const columns = table.columns.map((c) => c.name);
  if (JSON.stringify(header) !== JSON.stringify(columns)) bad.add(`${table.name} header`, columns, header);
  if (csv.length !== rows.length) bad.add(`${table.name} rows exported`, rows.length, csv.length);
  for (let r = 0; r < Math.min(rows.length, csv.length); r++) {
    table.columns.forEach((c, i) => {
      if (!matches(c.type, rows[r][i], csv[r][i] ?? { quoted: false, text: "" }))
        bad.add(`${table.name} row ${r + 1} ${c.name}`, rows[r][i], csv[r][i]);
    });
    rowsChecked++;
  }
}
bad.finish(`${description.tables.length} tables, ${rowsChecked} rows exported exactly`);
