#!/usr/bin/env node
// The mdb-reader oracle: `node dump.mjs ARCHIVE TABLE` prints the table in exactly the format of
// `tarvik-transfer dump`: a first line {"table":NAME,"columns":[[name,type,size],...]}, then one
// compact JSON object per row, in the order mdb-reader returns the rows.
//
// Where mdb-reader's own value is known to be wrong the output still shows what mdb-reader read,
// except for Date/Time: its JS Date is linear for negative day counts, so the date text is built
// from the stored day count (kept by keep-day-count-hook.mjs) by the Jet rule, and each cell where
// mdb-reader's Date says otherwise is reported as a note (stderr here; `notes` when imported).
import { readFileSync } from "node:fs";
import { register } from "node:module";
import { fileURLToPath } from "node:url";
import {
  dateTimeText,
  doubleText,
  guidText,
  mdbReaderDateText,
  numericText,
  singleText,
} from "./canonical.mjs";

register("./keep-day-count-hook.mjs", import.meta.url);

let MDBReader;
try {
  ({ default: MDBReader } = await import("mdb-reader"));
} catch (error) {
  const folder = fileURLToPath(new URL(".", import.meta.url));
  throw new Error(
    `mdb-reader is not installed: run "npm ci" in ${folder} (${error.message})`,
  );
}

// mdb-reader's type names, where ours differ.
const TYPE_NAMES = { float: "single", repid: "guid", datetimextended: "datetimeext" };

// Byte 0x14 of page 0: 0 for Jet3, whose text takes one byte a character.
function isJet3(bytes) {
  return bytes.length > 0x14 && bytes[0x14] === 0;
}

function columnSize(column, jet3) {
  switch (column.type) {
    case "memo":
    case "ole":
      return 0;
    case "text":
      return jet3 ? column.size : column.size / 2;
    default:
      return column.size;
  }
}

function valueText(column, value, note) {
  if (value === null || value === undefined) return "null";
  switch (column.type) {
    case "boolean":
      return value ? "true" : "false";
    case "byte":
    case "integer":
    case "long":
    case "bigint":
      return String(value);
    case "float":
      return singleText(value);
    case "double":
      return doubleText(value);
    case "currency":
    case "text":
    case "memo":
    case "datetimextended":
      return JSON.stringify(value);
    case "numeric":
      return numericText(value);
    case "repid":
      return guidText(value);
    case "binary":
    case "ole":
      return JSON.stringify(Buffer.from(value).toString("hex"));
    case "datetime": {
      if (typeof value.jetDayCount !== "number")
        throw new Error("the day-count hook is not active");
      const byRule = dateTimeText(value.jetDayCount);
      const theirs = mdbReaderDateText(value);
      if (byRule !== `"${theirs}"`) note(theirs, byRule, value.jetDayCount);
      return byRule;
    }
    default:
      throw new Error(`column ${column.name}: no canonical form for mdb-reader type ${column.type}`);
  }
}

// The dump of one table: { lines, notes }. `lines` have no "\n".
export function dumpTable(path, tableName) {
  const bytes = readFileSync(path);
  const reader = new MDBReader(bytes);
  const jet3 = isJet3(bytes);
  const table = reader.getTable(tableName);
  const columns = table.getColumns();
  const lines = [
    JSON.stringify({
      table: table.name,
      columns: columns.map((c) => [c.name, TYPE_NAMES[c.type] ?? c.type, columnSize(c, jet3)]),
    }),
  ];
  const notes = [];
  table.getData().forEach((row, index) => {
    // Built by hand in column order: an object would put integer-like names first.
    const members = columns.map((column) => {
      const note = (mdbReader, byRule, days) =>
        notes.push({ row: index, column: column.name, days, mdbReader, byRule });
      return `${JSON.stringify(column.name)}:${valueText(column, row[column.name], note)}`;
    });
    lines.push(`{${members.join(",")}}`);
  });
  return { lines, notes };
}

// The user tables, in mdb-reader's catalog order.
export function userTableNames(path) {
  return new MDBReader(readFileSync(path)).getTableNames();
}

if (process.argv[1] && fileURLToPath(import.meta.url) === process.argv[1]) {
  const [path, tableName] = process.argv.slice(2);
  if (!path || !tableName) {
    process.stderr.write("usage: node dump.mjs ARCHIVE TABLE\n");
    process.exit(2);
  }
  const { lines, notes } = dumpTable(path, tableName);
  process.stdout.write(lines.map((line) => line + "\n").join(""));
  for (const n of notes) {
    process.stderr.write(
      `note: row ${n.row} column ${n.column}: mdb-reader's Date reads ${n.mdbReader}; ` +
        `the stored day count ${n.days} is ${n.byRule} by the Jet rule\n`,
    );
  }
}
