// Writes the default sample archive with archive-gen and reads it back through mdb-reader, an
// independent Jet reader: the tables, columns and types of tarvik_schema.json, and in every table
// as many rows as archive-gen reported (both the count kept in the table definition and a scan).
// The outdated variant is read back too: its CliFor has no NoteInBolla.
// Usage: node sample_readback.mjs ARCHIVE_GEN WORK_DIR
import { execFileSync } from "child_process";
import { mkdirSync, readFileSync } from "fs";
import { createRequire } from "module";
import { dirname, join } from "path";
import { fileURLToPath } from "url";

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(join(here, "../oracle/package.json"));
const MDBReader = (await import(require.resolve("mdb-reader"))).default;

const [archiveGen, workDir] = process.argv.slice(2);
mkdirSync(workDir, { recursive: true });
const schema = JSON.parse(readFileSync(join(here, "../../tools/archive-gen/sample/tarvik_schema.json"), "utf8"));
// mdb-reader's names for the schema file's types.
const readerType = { single: "float", ole: "ole" };

const problems = [];
const check = (what, expected, actual) => {
  if (JSON.stringify(expected) !== JSON.stringify(actual))
    problems.push(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
};

function generate(name, args) {
  const path = join(workDir, name);
  const out = execFileSync(archiveGen, ["sample", ...args, path], { encoding: "utf8" });
  const reported = new Map(out.trim().split("\n").map((line) => {
    const [table, rows] = line.split(" ");
    return [table, Number(rows)];
  }));
  return { reader: new MDBReader(readFileSync(path)), reported };
}

const { reader, reported } = generate("sample.mdb", []);
check("table names", schema.tables.map((t) => t.name), reader.getTableNames());
check("reported tables", schema.tables.map((t) => t.name), [...reported.keys()]);
let total = 0;
for (const table of schema.tables) {
  const t = reader.getTable(table.name);
  const columns = t.getColumns();
  check(`${table.name} columns`, table.columns.map((c) => c.name), columns.map((c) => c.name));
  check(`${table.name} types`, table.columns.map((c) => readerType[c.type] ?? c.type), columns.map((c) => c.type));
  check(`${table.name} text sizes`, table.columns.filter((c) => c.type === "text").map((c) => c.size * 2),
        columns.filter((c) => c.type === "text").map((c) => c.size));
  const rows = reported.get(table.name);
  check(`${table.name} rowCount`, rows, t.rowCount);
  const data = t.getData();
  check(`${table.name} rows scanned`, rows, data.length);
  total += data.length;
  if (rows === 0) problems.push(`${table.name} is empty`);
}

// A few awkward values, read by another reader than ours.
const clifor = reader.getTable("CliFor").getData();
const longest = Math.max(...clifor.map((r) => (r.Note ?? "").length));
if (longest <= 32766) problems.push(`the longest CliFor.Note has ${longest} characters`);
const items = reader.getTable("Magazzino").getData();
if (!items.some((r) => r.Immagine && r.Immagine.length === 6000)) problems.push("no 6000-byte picture");
const texts = schema.tables.flatMap((table) => reader.getTable(table.name).getData()
  .flatMap((r) => Object.values(r).filter((v) => typeof v === "string"))).join("");
for (const [what, re] of [["euro sign", /€/], ["letters outside Windows-1252", /[ŁłőΑ-ω東]/u], ["a NUL", /\0/], ["a BEL", /\x07/]]) {
  if (!re.test(texts)) problems.push(`no ${what} in any text`);
}

const outdated = generate("outdated.mdb", ["--variant", "outdated"]);
const outdatedColumns = outdated.reader.getTable("CliFor").getColumnNames();
if (outdatedColumns.includes("NoteInBolla")) problems.push("the outdated archive has NoteInBolla");
check("outdated CliFor rows", reported.get("CliFor"), outdated.reader.getTable("CliFor").rowCount);

if (problems.length) {
  console.error(`mdb-reader on the sample archive: ${problems.length} problems`);
  for (const p of problems.slice(0, 50)) console.error(`  ${p}`);
  process.exit(1);
}
console.log(`mdb-reader: ${schema.tables.length} tables, ${total} rows as reported`);
