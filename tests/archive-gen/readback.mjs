// Reads an archive written by archive-gen through mdb-reader and checks that it holds exactly
// the tables, columns, row counts (as the table definition keeps them and as a scan finds them)
// and values of the description it was written from.
// Usage: node readback.mjs DESCRIPTION.json ARCHIVE.mdb [--any-order]
// (--any-order: rows matched by their first column, for archives with moved rows)
import { readFileSync } from "fs";
import { createRequire } from "module";
import { register } from "module";
import { dirname, join } from "path";
import { fileURLToPath } from "url";
import { currencyText, dateTimeText, inDescriptionOrder, loadDescription, Mismatches } from "./expected_values.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(join(here, "../oracle/package.json"));
// mdb-reader's own Date is linear in the day count, wrong before 1899-12-30 with a time of day;
// the hook keeps the stored day count, which is decoded here by Jet's rule.
register("../oracle/keep-day-count-hook.mjs", import.meta.url);
const MDBReader = (await import(require.resolve("mdb-reader"))).default;

// Jet's rule: the whole part counts days from 1899-12-30, the fraction's magnitude is the time
// of day, whatever the sign.
function jetDayCountIso(td) {
  const days = Math.trunc(td);
  const seconds = Math.round(Math.abs(td - days) * 86400);
  return new Date(Date.UTC(1899, 11, 30) + days * 86400000 + seconds * 1000).toISOString();
}

const [descriptionPath, archivePath, order] = process.argv.slice(2);
const anyOrder = order === "--any-order";
const description = loadDescription(descriptionPath);
const reader = new MDBReader(readFileSync(archivePath));
const bad = new Mismatches(`mdb-reader ${archivePath}`);

function expectedValue(type, v) {
  if (v === null) return null;
  switch (type) {
    case "single": return Math.fround(v);
    case "currency": return currencyText(v);
    case "datetime": return `${dateTimeText(v).replace(" ", "T")}.000Z`;
    case "guid": return v.slice(1, -1).toLowerCase();
    default: return v;
  }
}

function actualValue(type, v) {
  if (v === null) return null;
  switch (type) {
    case "datetime":
      if (v.jetDayCount === undefined) throw new Error("the day-count hook is not active");
      return jetDayCountIso(v.jetDayCount);
    case "ole": return v.toString("hex");
    default: return v;
  }
}

const names = reader.getTableNames();
const wanted = description.tables.map((t) => t.name);
if (JSON.stringify(names.slice().sort()) !== JSON.stringify(wanted.slice().sort()))
  bad.add("table names", wanted, names);

let rowsChecked = 0;
for (const table of description.tables) {
  if (!names.includes(table.name)) continue;
  const t = reader.getTable(table.name);
  const rows = table.rows ?? [];
  const columns = table.columns.map((c) => c.name);
  if (JSON.stringify(t.getColumnNames()) !== JSON.stringify(columns))
    bad.add(`${table.name} columns`, columns, t.getColumnNames());
  if (t.rowCount !== rows.length) bad.add(`${table.name} rowCount`, rows.length, t.rowCount);
  const data = anyOrder ? inDescriptionOrder(table, t.getData(), (row) => String(row[table.columns[0].name])) : t.getData();
  if (data.length !== rows.length) bad.add(`${table.name} rows scanned`, rows.length, data.length);
  for (let r = 0; r < Math.min(rows.length, data.length); r++) {
    table.columns.forEach((c, i) => {
      const expected = expectedValue(c.type, rows[r][i]);
      const actual = actualValue(c.type, data[r][c.name]);
      if (expected !== actual) bad.add(`${table.name} row ${r + 1} ${c.name}`, expected, actual);
    });
    rowsChecked++;
  }
}
bad.finish(`${description.tables.length} tables, ${rowsChecked} rows read back exactly`);
