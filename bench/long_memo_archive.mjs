// The long-memo case of bench/limits.sh: a Tarvik archive description with one customer and one
// item whose Note memos hold CHARS characters each (lines of Italian text with accents and the
// euro sign, CR LF between them), and the check that the transfer file carries them unchanged.
//
//   node long_memo_archive.mjs make SCHEMA.json CHARS OUT.json
//   node long_memo_archive.mjs check TRANSFER.txt CHARS
import { readFileSync, writeFileSync } from 'node:fs';

const MARKER = Buffer.from('@#\xa3$%&/()=?<>FINE MEMO@#\xa3$%&/()=?<>\r\n', 'latin1');

function memoText(chars) {
  const parts = [];
  let length = 0;
  for (let line = 1; length < chars; ++line) {
    const text = `Nota di prova, riga ${line}: consegna in città, perché il prezzo è 5 € al pezzo.\r\n`;
    parts.push(text);
    length += text.length;
  }
  return parts.join('').slice(0, chars);
}

// The memo as the transfer file holds it: Windows-1252, written raw.
function windows1252(text) {
  const bytes = Buffer.alloc(text.length);
  for (let i = 0; i < text.length; ++i) {
    const code = text.charCodeAt(i);
    bytes[i] = code === 0x20ac ? 0x80 : code;
  }
  return bytes;
}

function make(schemaPath, chars, outPath) {
  const description = JSON.parse(readFileSync(schemaPath, 'utf8'));
  const memo = memoText(chars);
  for (const table of description.tables) {
    table.rows = [];
    if (table.name !== 'CliFor' && table.name !== 'Magazzino') continue;
    table.rows.push(table.columns.map((column) => {
      if (column.name === 'Note') return memo;
      if (column.name === 'Codice' && table.name === 'Magazzino') return 'ART-LUNGO';
      if (column.name === 'ClienteOFornitore') return 'C';
      if (column.type === 'boolean') return false;
      return null;
    }));
  }
  writeFileSync(outPath, JSON.stringify(description));
}

function check(transferPath, chars) {
  const transfer = readFileSync(transferPath);
  const expected = Buffer.concat([windows1252(memoText(chars)), Buffer.from('\r\n'), MARKER]);
  let found = 0;
  for (let at = transfer.indexOf(expected); at >= 0; at = transfer.indexOf(expected, at + 1)) ++found;
  if (found !== 2) {
    console.error(`long memo: expected the memo, its line end and the marker twice (CliFor, Magazzino), found ${found} times`);
    process.exit(1);
  }
  console.log(`long memo: both memos of ${chars} characters written unchanged, each followed by the marker`);
}

const [mode, ...args] = process.argv.slice(2);
if (mode === 'make') make(args[0], Number(args[1]), args[2]);
else if (mode === 'check') check(args[0], Number(args[1]));
else {
  console.error('usage: long_memo_archive.mjs make SCHEMA.json CHARS OUT.json | check TRANSFER.txt CHARS');
  process.exit(2);
}
