// Writes the JSON descriptions that the round-trip checks turn into archives and read back
// through mdb-reader and mdbtools: every column type with its edge values, long values of every
// storage size, texts with every Windows-1252 character and characters beyond it, and a table
// of 120 000 rows over thousands of pages. Deterministic: no clock, no randomness.
// Usage: node make_descriptions.mjs OUTDIR
import { mkdirSync, writeFileSync } from "fs";
import { join } from "path";

const outDir = process.argv[2];
mkdirSync(outDir, { recursive: true });
const write = (name, description) =>
  writeFileSync(join(outDir, `${name}.json`), JSON.stringify(description));

// Every character Windows-1252 defines, as Unicode (0x81, 0x8D, 0x8F, 0x90, 0x9D are undefined).
const cp1252High = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ";
export function windows1252Characters() {
  let s = "";
  for (let c = 0x01; c < 0x80; c++) s += String.fromCharCode(c);
  for (const ch of cp1252High) if (![0x81, 0x8d, 0x8f, 0x90, 0x9d].includes(ch.charCodeAt(0))) s += ch;
  for (let c = 0xa0; c <= 0xff; c++) s += String.fromCharCode(c);
  return s;
}

function column(name, type, extra = {}) {
  return { name, type, ...extra };
}

// A text of `n` characters cycling through `alphabet`.
function cycle(alphabet, n) {
  const chars = Array.from(alphabet);
  let s = "";
  for (let i = 0; i < n; i++) s += chars[i % chars.length];
  return s;
}

function hexBytes(n, seed) {
  let s = "";
  let x = seed;
  for (let i = 0; i < n; i++) {
    x = (x * 1103515245 + 12345) >>> 0;
    s += ((x >>> 16) & 0xff).toString(16).padStart(2, "0");
  }
  return s;
}

write("every_type", {
  tables: [
    {
      name: "EveryType",
      columns: [
        column("Id", "long", { autonumber: true }),
        column("Flag", "boolean"),
        column("Small", "byte"),
        column("Medium", "integer"),
        column("Large", "long"),
        column("Single", "single"),
        column("Double", "double"),
        column("Money", "currency"),
        column("When", "datetime"),
        column("Label", "text", { size: 20 }),
        column("Note", "memo"),
        column("Blob", "ole"),
        column("Key", "guid"),
      ],
      primaryKey: ["Id"],
      rows: [
        [1, true, 0, -32768, -2147483648, 1.5, 1e-300, "-922337203685477.5808", "1899-12-30", "Rossi S.r.l.", "two\r\nlines", "00ff10", "{01234567-89AB-CDEF-0123-456789ABCDEF}"],
        [2, false, 255, 32767, 2147483647, -0.25, -123456789.125, "922337203685477.5807", "9999-12-31 23:59:59", "", "", "", "{00000000-0000-0000-0000-000000000000}"],
        [3, true, null, null, null, null, null, null, null, null, null, null, null],
        [4, false, 7, 0, 0, 0, 0, 12.34, "2004-02-29 13:45:10", "àèìòù €", "memo", "ab", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"],
        [5, true, 1, -1, -1, 3.0e38, 1.7976931348623157e308, "0.0001", "12:30:00", "x", "y", "00", "{a1b2c3d4-e5f6-a7b8-c9d0-e1f2a3b4c5d6}"],
        [6, false, 2, 2, 2, 2, 2, -5, "1900-01-01 00:00:01", "tab\there", "semi;colon,comma\"quote", "0102", null],
        // The edges of the ranges: the largest single in its shortest form, year 100 with a time.
        [7, true, 3, 3, 3, 3.4028235e38, 3, 3, "0100-01-01 00:00:01", "a", "b", "03", null],
        [8, false, 4, 4, 4, -3.4028235e38, 4, 4, "0100-01-01", "c", "d", "04", null],
        [9, true, 5, 5, 5, 1.4e-45, 5, 5, "1899-12-29 06:00:00", "e", "f", "05", null],
      ],
    },
  ],
});

// Long values at every storage boundary: inline (up to 64 bytes), one LVAL row (up to 4076 in
// Jet4, 2032 in Jet3), chains (past that, including exact multiples of the chunk size). Each memo
// size with every alphabet: compressible, two bytes each and never compressed, accented.
function writeLongValues(name, alphabets, memoChars, oleBytes) {
  const rows = [];
  let id = 1;
  for (const n of memoChars) for (const alphabet of alphabets) rows.push([id++, cycle(alphabet, n), null]);
  for (const n of oleBytes) rows.push([id++, null, hexBytes(n, n + 1)]);
  write(name, {
    tables: [
      {
        name: "LongValues",
        columns: [column("Id", "long"), column("Memo", "memo"), column("Blob", "ole")],
        primaryKey: ["Id"],
        rows,
      },
    ],
  });
}

// Texts: every Windows-1252 character (in 200-character slices for the text column, whole in
// the memo), then `others`.
function writeTexts(name, others) {
  const all = windows1252Characters();
  const texts = [];
  for (let i = 0; i < all.length; i += 200) texts.push(all.slice(i, i + 200));
  texts.push(...others);
  const rows = texts.map((t, i) => [i + 1, t, t + "|" + t]);
  rows.push([rows.length + 1, all.slice(0, 255), all]);
  write(name, {
    tables: [
      {
        name: "Texts",
        columns: [column("Id", "long"), column("Short", "text", { size: 255 }), column("Long", "memo")],
        primaryKey: ["Id"],
        rows,
      },
    ],
  });
}

const memoChars = [0, 1, 31, 32, 33, 64, 65, 500, 1024, 1025, 2038, 2039, 4076, 4077, 8152, 12000, 30000];
const oleBytes = [0, 1, 64, 65, 4076, 4077, 8152, 8153, 20000, 100000];
writeLongValues("long_values", ["Lorem ipsum dolor sit amet, ", "日本語のテキスト", "àèé€ line\r\n"], memoChars, oleBytes);
// CJK, a surrogate pair, characters with a zero low byte, a leading U+FEFF, and the mixes that
// make compressed texts switch mode.
writeTexts("texts", ["漢字とかな", "emoji \u{1F600} here", "\u{1F600}", "Āā ĀĀ", "\u4E00\u4E01", "\uFEFFmarker",
  "abc日本def", "日本abc日本", "a€b€c", "ÀÉÎÕÜ àéîõü ß", "mixed ąę and plain", "A", "AB", "ABC"]);

// The same for a Jet3 archive, whose texts are Windows-1252 bytes: only what that code page
// holds, with the sizes around Jet3's chunk of 2032 bytes.
writeLongValues("long_values_ansi", ["Lorem ipsum dolor sit amet, ", "àèé€ line\r\n"],
  [...memoChars, 2032, 2033, 4064, 4065, 6097], [...oleBytes, 2032, 2033, 4064]);
writeTexts("texts_ansi", ["a€b€c", "ÀÉÎÕÜ àéîõü ß", "‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ", "A", "AB", "ABC"]);

// Many rows over thousands of pages (a reference usage map), plus one-row tables beside it.
{
  const rows = [];
  for (let i = 1; i <= 120000; i++) {
    rows.push([
      i,
      `Cliente ${i}`,
      i % 7 === 0 ? null : (i * 37) % 100000 / 100,
      i % 1000 === 0 ? cycle("Nota lunga. ", 500 + (i % 3000)) : i % 3 === 0 ? null : `nota ${i}`,
    ]);
  }
  write("many_rows", {
    tables: [
      {
        name: "Movimenti",
        columns: [
          column("idMovimento", "long", { autonumber: true }),
          column("Descrizione", "text", { size: 60 }),
          column("Importo", "currency"),
          column("Note", "memo"),
        ],
        primaryKey: ["idMovimento"],
        rows,
      },
      { name: "OneRow", columns: [column("Only", "text", { size: 10 })], rows: [["one"]] },
      { name: "NoRows", columns: [column("Nothing", "long")], rows: [] },
    ],
  });
}
