#!/usr/bin/env node
// Cross-check of `tarvik-transfer dump` against the mdb-reader oracle (dump.mjs):
//   node crosscheck.mjs --tool PATH_TO_tarvik-transfer --corpus DIR [--only TEXT] [--moved-rows anywhere]
// (--moved-rows anywhere: every table may hold moved rows, as archive-gen's aged archives do)
// For every user table of every .mdb/.accdb under DIR (recursively) both dumps must be equal,
// line for line and value for value, in the same order, and `tables` must list the same tables
// with the same row counts. Known exceptions, where mdb-reader is wrong and we are right, are
// listed below with their reason; every cell they excuse is counted in the summary. The last line
// is "N passed, N failed" (one per table); the exit code is 1 when any table failed.
import { execFileSync } from "node:child_process";
import { closeSync, existsSync, openSync, readSync, readdirSync, statSync } from "node:fs";
import { basename, join, relative } from "node:path";
import { fileURLToPath } from "node:url";
import { splitRow } from "./json-line.mjs";

const here = fileURLToPath(new URL(".", import.meta.url));
if (!existsSync(join(here, "node_modules", "mdb-reader"))) {
  console.error(`crosscheck: mdb-reader is missing; run "npm ci" in ${here} first`);
  process.exit(1);
}
const { dumpTable, userTableNames } = await import("./dump.mjs");

// Tables with rows Jet moved to another page (offset flag 0x4000: a pointer to the moved copy,
// which carries 0x8000). mdb-reader skips the pointer and returns the copy where it now lies;
// we follow the pointer and return the row at its original place, as Jackcess (and Access) do:
// Jackcess' own test of overflowTestV2000 expects "row3" 3rd and "row5" 5th. The right order is
// ours, so these tables are compared as multisets of rows.
const MOVED_ROWS = [
  ["overflowTestV2000.mdb", "Table1"],
  ["MONDIAL.accdb", "City"],
  ["MONDIAL.accdb", "Province"],
];

// Cell-level exceptions: `applies(context)` says whether the exception can apply, `excuses(ours,
// theirs)` whether the two raw JSON texts differ only by it.
const EXCEPTIONS = [
  {
    id: "jet3-undefined-cp1252",
    reason:
      "Jet3 text bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D have no character in Windows-1252; Windows " +
      "maps them to U+0081, U+008D, U+008F, U+0090, U+009D, which is what we print. mdb-reader " +
      "(iconv-lite's table) gives U+FFFD, losing the byte; testIndexCodesV1997.mdb holds each byte " +
      "between AA and AA, and mdbtools' mdb-export prints it as '?'",
    applies: ({ jet3 }) => jet3,
    excuses: (ours, theirs) =>
      ours !== theirs && ours.replace(/[\u0081\u008d\u008f\u0090\u009d]/g, "\ufffd") === theirs,
  },
  {
    id: "boolean-size",
    reason:
      "a Yes/No column's descriptor stores length 1 (DAO's Field.Size says 1 too), which we print; " +
      "mdb-reader replaces it with 0 for every boolean column",
    applies: ({ where, type }) => where === "size" && type === "boolean",
    excuses: (ours, theirs) => ours === "1" && theirs === "0",
  },
];

let movedRowsAnywhere = false;

function parseArguments(argv) {
  const options = { tool: null, corpus: null, only: null, "moved-rows": "listed" };
  for (let i = 0; i < argv.length; i++) {
    const key = argv[i].replace(/^--/, "");
    if (!(key in options) || i + 1 >= argv.length) usage(`unknown or incomplete option ${argv[i]}`);
    options[key] = argv[++i];
  }
  if (!options.tool || !options.corpus) usage("--tool and --corpus are required");
  if (!["listed", "anywhere"].includes(options["moved-rows"])) usage("--moved-rows takes listed or anywhere");
  return options;
}

function usage(message) {
  console.error(`crosscheck: ${message}\nusage: node crosscheck.mjs --tool PATH --corpus DIR [--only TEXT] [--moved-rows anywhere]`);
  process.exit(2);
}

function archivesUnder(dir) {
  const found = [];
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) found.push(...archivesUnder(path));
    else if (/\.(mdb|accdb)$/i.test(name)) found.push(path);
  }
  return found;
}

// Byte 0x14 of page 0 is the version: 0 for Jet3.
function isJet3(file) {
  const header = Buffer.alloc(0x15);
  const fd = openSync(file, "r");
  try {
    return readSync(fd, header, 0, header.length, 0) === header.length && header[0x14] === 0;
  } finally {
    closeSync(fd);
  }
}

function runTool(tool, args) {
  try {
    const stdout = execFileSync(tool, args, { maxBuffer: 1 << 30, stdio: ["ignore", "pipe", "pipe"] });
    return { ok: true, text: stdout.toString("utf8") };
  } catch (error) {
    const stderr = error.stderr ? error.stderr.toString("utf8").trim() : error.message;
    return { ok: false, text: `exit ${error.status}: ${stderr}` };
  }
}

// `tables` output: "NAME: N rows" at the start of a line (the last ": " before the count).
function parseTablesListing(text) {
  const tables = [];
  for (const line of text.split("\n")) {
    const match = /^(\S.*): (\d+) rows?(?: \(.*\))?$/.exec(line);
    if (match) tables.push({ name: match[1], rows: Number(match[2]) });
  }
  return tables;
}

function splitLines(text) {
  if (text.length > 0 && !text.endsWith("\n")) return { lines: text.split("\n"), unterminated: true };
  const lines = text.split("\n");
  lines.pop();
  return { lines, unterminated: false };
}

// Compares two header lines column by column; returns the differences not excused.
function compareHeaders(ours, theirs, context, excused) {
  if (ours === theirs) return [];
  let a, b;
  try {
    a = JSON.parse(ours);
    b = JSON.parse(theirs);
  } catch {
    return [`header: ours ${ours} / mdb-reader ${theirs}`];
  }
  const problems = [];
  if (JSON.stringify(a.table) !== JSON.stringify(b.table))
    problems.push(`table name: ours ${JSON.stringify(a.table)} / mdb-reader ${JSON.stringify(b.table)}`);
  if (a.columns.length !== b.columns.length)
    return [...problems, `column count: ours ${a.columns.length} / mdb-reader ${b.columns.length}`];
  a.columns.forEach((column, i) => {
    const other = b.columns[i];
    ["name", "type", "size"].forEach((where, k) => {
      const x = JSON.stringify(column[k]);
      const y = JSON.stringify(other[k]);
      if (x === y) return;
      const exception = findException({ ...context, where, type: column[1] }, x, y);
      if (exception) excused(exception, `column ${column[0]} ${where}: ours ${x}, mdb-reader ${y}`);
      else problems.push(`column ${i} (${column[0]}) ${where}: ours ${x} / mdb-reader ${y}`);
    });
  });
  return problems;
}

// Invisible characters (C0/C1 controls, U+FFFD) spelled out so a report can be read.
function visible(text) {
  return text.replace(/[\u0000-\u001f\u007f-\u009f\ufffd]/g, (c) => `\\u{${c.codePointAt(0).toString(16)}}`);
}

function findException(context, ours, theirs) {
  return EXCEPTIONS.find((e) => e.applies(context) && e.excuses(ours, theirs));
}

// Compares two row lines member by member; returns the differences not excused.
function compareRows(ours, theirs, rowLabel, context, excused) {
  if (ours === theirs) return [];
  const a = splitRow(ours);
  const b = splitRow(theirs);
  if (!a || !b) return [`${rowLabel}: ours ${ours} / mdb-reader ${theirs}`];
  if (a.length !== b.length || a.some(([key], i) => key !== b[i][0]))
    return [`${rowLabel}: different members: ours ${ours} / mdb-reader ${theirs}`];
  const problems = [];
  a.forEach(([key, value], i) => {
    const other = b[i][1];
    if (value === other) return;
    const exception = findException({ ...context, where: "value" }, value, other);
    if (exception) excused(exception, `${rowLabel} column ${key}: ours ${visible(value)}, mdb-reader ${visible(other)}`);
    else problems.push(`${rowLabel} column ${key}: ours ${visible(value)} / mdb-reader ${visible(other)}`);
  });
  return problems;
}

function checkTable(options, file, tableName, ourCounts, jet3) {
  const result = { problems: [], excused: [], notes: [], remark: null };
  const excused = (exception, detail) => result.excused.push({ id: exception.id, detail });
  const context = { jet3 };

  let oracle;
  try {
    oracle = dumpTable(file, tableName);
  } catch (error) {
    result.problems.push(`mdb-reader cannot read it: ${error.message}`);
    return result;
  }
  result.notes = oracle.notes;
  const ours = runTool(options.tool, ["dump", file, tableName]);
  if (!ours.ok) {
    result.problems.push(`tarvik-transfer dump failed: ${ours.text}`);
    return result;
  }
  const { lines, unterminated } = splitLines(ours.text);
  if (unterminated) result.problems.push("our output does not end in a newline");
  const theirs = oracle.lines;
  result.problems.push(...compareHeaders(lines[0] ?? "", theirs[0], context, excused));

  const ourRows = lines.slice(1);
  const theirRows = theirs.slice(1);
  if (ourCounts.get(tableName) !== theirRows.length)
    result.problems.push(`tables: ours says ${ourCounts.get(tableName)} rows, mdb-reader reads ${theirRows.length}`);
  if (ourRows.length !== theirRows.length)
    result.problems.push(`row count: ours ${ourRows.length} / mdb-reader ${theirRows.length}`);

  const moved = movedRowsAnywhere || MOVED_ROWS.some(([f, t]) => f === basename(file) && t === tableName);
  let left = ourRows;
  let right = theirRows;
  if (moved) {
    const sameOrder = ourRows.length === theirRows.length && ourRows.every((r, i) => r === theirRows[i]);
    result.remark = `compared as a multiset (moved rows); order ${sameOrder ? "the same" : "differs, as expected"}`;
    left = [...ourRows].sort();
    right = [...theirRows].sort();
  }
  const count = Math.min(left.length, right.length);
  for (let i = 0; i < count; i++) {
    const label = moved ? `sorted row ${i}` : `row ${i}`;
    result.problems.push(...compareRows(left[i], right[i], label, context, excused));
  }
  return result;
}

// The catalog (MSysObjects) is itself a table: when some of its rows were moved, we list the
// tables in the catalog's original order and mdb-reader in the moved rows' new places. That
// explains a different table order when both catalogs hold the same rows in another order.
function catalogOrderExplained(options, file) {
  const ours = runTool(options.tool, ["dump", file, "MSysObjects"]);
  if (!ours.ok) return null;
  let theirs;
  try {
    theirs = dumpTable(file, "MSysObjects").lines;
  } catch {
    return null;
  }
  const ourRows = splitLines(ours.text).lines;
  if (ourRows.length !== theirs.length || ourRows[0] !== theirs[0]) return null;
  const sameSet = JSON.stringify(ourRows.slice(1).sort()) === JSON.stringify(theirs.slice(1).sort());
  const moved = ourRows.filter((row, i) => row !== theirs[i]).length;
  if (!sameSet || moved === 0) return null;
  return `MSysObjects holds the same ${ourRows.length - 1} rows in both, ${moved} of them at other ` +
    "positions: catalog rows were moved, and we list them at their original place";
}

function main() {
  const options = parseArguments(process.argv.slice(2));
  movedRowsAnywhere = options["moved-rows"] === "anywhere";
  let passed = 0;
  let failed = 0;
  const excusedTotals = new Map();
  const allNotes = [];

  const archives = archivesUnder(options.corpus);
  if (archives.length === 0) {
    console.error(`crosscheck: no .mdb or .accdb file under ${options.corpus}`);
    process.exit(1);
  }
  for (const file of archives) {
    const name = relative(options.corpus, file);
    if (options.only && !name.includes(options.only)) continue;
    console.log(`== ${name}`);
    const listing = runTool(options.tool, ["tables", file]);
    const ourTables = listing.ok ? parseTablesListing(listing.text) : [];
    if (!listing.ok) console.log(`   tables failed: ${listing.text}`);
    const ourCounts = new Map(ourTables.map((t) => [t.name, t.rows]));
    const theirNames = userTableNames(file);
    const jet3 = isJet3(file);

    const ourNames = ourTables.map((t) => t.name);
    if (listing.ok && JSON.stringify(ourNames) !== JSON.stringify(theirNames)) {
      const extra = ourNames.filter((n) => !theirNames.includes(n));
      const missing = theirNames.filter((n) => !ourNames.includes(n));
      for (const table of extra) {
        console.log(`   FAIL ${table}: listed by tarvik-transfer only`);
        failed++;
      }
      for (const table of missing) console.log(`   (${table}: not listed by tarvik-transfer tables)`);
      if (extra.length === 0 && missing.length === 0) {
        const why = catalogOrderExplained(options, file);
        if (why) {
          console.log(`   table order differs: ${why}`);
        } else {
          console.log(`   FAIL table order: ours ${JSON.stringify(ourNames)} / mdb-reader ${JSON.stringify(theirNames)}`);
          failed++;
        }
      }
    }

    for (const table of theirNames) {
      const result = checkTable(options, file, table, ourCounts, jet3);
      for (const e of result.excused) excusedTotals.set(e.id, [...(excusedTotals.get(e.id) ?? []), `${name} ${table} ${e.detail}`]);
      for (const n of result.notes) allNotes.push(`${name} ${table} row ${n.row} column ${n.column}: day count ${n.days} is ${n.byRule}; mdb-reader's Date reads "${n.mdbReader}"`);
      const suffix = [
        result.remark,
        result.excused.length ? `${result.excused.length} cells excused` : null,
      ].filter(Boolean).join("; ");
      if (result.problems.length === 0) {
        passed++;
        console.log(`   ok   ${table}${suffix ? ` (${suffix})` : ""}`);
      } else {
        failed++;
        console.log(`   FAIL ${table}: ${result.problems.length} differences${suffix ? ` (${suffix})` : ""}`);
        for (const p of result.problems.slice(0, 8)) console.log(`        ${p}`);
        if (result.problems.length > 8) console.log(`        ... ${result.problems.length - 8} more`);
      }
    }
  }

  console.log("");
  for (const exception of EXCEPTIONS) {
    const cells = excusedTotals.get(exception.id) ?? [];
    if (cells.length === 0) continue;
    console.log(`known mdb-reader error "${exception.id}", ${cells.length} cells: ${exception.reason}`);
    for (const c of cells.slice(0, 5)) console.log(`   ${c}`);
    if (cells.length > 5) console.log(`   ... ${cells.length - 5} more`);
  }
  if (allNotes.length > 0) {
    console.log(
      `known mdb-reader error "linear-negative-dates", ${allNotes.length} cells: its JS Date treats a ` +
        "negative day count as linear time; Jet reads the truncated day and the absolute fraction as " +
        "the time of day, so both dumps print the value by that rule from the stored day count:",
    );
    for (const n of allNotes) console.log(`   ${n}`);
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed > 0 ? 1 : 0;
}

main();
