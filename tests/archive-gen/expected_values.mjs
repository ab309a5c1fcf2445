// What a reader should give back for each value of a JSON description, in the forms mdb-reader
// and mdb-export print them. Shared by the two round-trip checks.
import { readFileSync } from "fs";

export function loadDescription(path) {
  return JSON.parse(readFileSync(path, "utf8"));
}

// Currency as a decimal string with exactly four decimals, from a number or a string.
export function currencyText(v) {
  if (typeof v === "number") return Number.isInteger(v) ? `${v}.0000` : v.toFixed(4);
  const m = /^(-?)(\d+)(?:\.(\d{1,4}))?$/.exec(v);
  return `${m[1]}${m[2]}.${(m[3] ?? "").padEnd(4, "0")}`;
}

// "YYYY-MM-DD HH:MM:SS" for the three date forms of a description.
export function dateTimeText(v) {
  if (v.length === 8) return `1899-12-30 ${v}`;
  if (v.length === 10) return `${v} 00:00:00`;
  return v;
}

// Significant digits both readers keep when they print floating-point numbers.
export function sameNumber(expected, actual, digits) {
  return Number(Number(expected).toPrecision(digits)) === Number(Number(actual).toPrecision(digits));
}

// A short printable form of a value for failure messages.
export function show(v) {
  const s = JSON.stringify(v);
  return s === undefined ? String(v) : s.length > 120 ? `${s.slice(0, 117)}...` : s;
}

// Runs `check(table, rowIndex, columnIndex, expected, actual)` style comparisons and reports.
export class Mismatches {
  constructor(label) {
    this.label = label;
    this.count = 0;
  }
  add(where, expected, actual) {
    this.count++;
    if (this.count <= 20) console.error(`${this.label}: ${where}: expected ${show(expected)}, got ${show(actual)}`);
  }
  finish(summary) {
    if (this.count > 0) {
      console.error(`${this.label}: ${this.count} mismatches`);
      process.exit(1);
    }
    console.log(`${this.label}: ${summary}`);
  }
}

// mdb-reader and mdbtools return a row Jet moved to another page where its moved copy lies, not
// where its pointer stands (the order Access gives): in an archive with moved rows ("--any-order")
// the rows read are matched to the description's by their first column, a whole number or a text
// that every table of the descriptions keeps unique, instead of by position.
export function inDescriptionOrder(table, actualRows, keyOf) {
  const type = table.columns[0]?.type;
  if (!["byte", "integer", "long", "text"].includes(type)) return actualRows;
  const byKey = new Map();
  for (const row of actualRows) {
    const key = keyOf(row);
    if (!byKey.has(key)) byKey.set(key, []);
    byKey.get(key).push(row);
  }
  const ordered = [];
  for (const row of table.rows ?? []) {
    const same = byKey.get(String(row[0]));
    if (same?.length) ordered.push(same.shift());
  }
  for (const rest of byKey.values()) ordered.push(...rest);
  return ordered;
}
