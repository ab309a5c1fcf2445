#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into seeds/fuzz_NAME/.

fuzz_sql_parser: every query of tests/sql/quoted_queries.txt, one file each.
fuzz_jet_file: small whole archives written by archive-gen (its path as the first argument; left
as they are without it): every column type with inline, single-row and chained long values, and
300 rows over several data pages, each as Jet4 and Jet3, fresh and aged (deleted and moved rows,
chains out of order, dropped and added columns). Small, since every run reads the whole input.
fuzz_row_decoder, fuzz_long_value: rows and long values laid out as Jet3 and Jet4 store them, in
the input layouts described at the top of those targets, so the fuzzer starts from values that
decode (every column type, compressed text, inline, single-row and chained long values).
"""
import hashlib
import json
import pathlib
import struct
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
SEEDS = HERE / "seeds"

BOOLEAN, BYTE, INTEGER, LONG, CURRENCY, SINGLE, DOUBLE, DATETIME = 1, 2, 3, 4, 5, 6, 7, 8
BINARY, TEXT, OLE, MEMO, GUID, NUMERIC, BIGINT = 9, 10, 11, 12, 15, 16, 19
FIXED = 0x01


def write(target, name, data):
    folder = SEEDS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def sql_seeds():
    queries = (HERE.parent / "tests" / "sql" / "quoted_queries.txt").read_text(encoding="utf-8")
    for line in queries.splitlines():
        if line and not line.startswith("#"):
            digest = hashlib.sha1(line.encode()).hexdigest()[:12]
            write("fuzz_sql_parser", f"quoted-{digest}", line.encode("utf-8"))


def lval_page(page_size, rows, jet3=False):
    """A data page owned by "LVAL" holding `rows` packed from the page's end downwards."""
    count_at, table_at = (8, 10) if jet3 else (12, 14)
    page = bytearray(page_size)
    page[0], page[1] = 0x01, 0x01
    page[4:8] = b"LVAL"
    struct.pack_into("<H", page, count_at, len(rows))
    end = page_size
    for i, row in enumerate(rows):
        start = end - len(row)
        page[start:end] = row
        struct.pack_into("<H", page, table_at + 2 * i, start)
        end = start
    struct.pack_into("<H", page, 2, end - (table_at + 2 * len(rows)))
    return bytes(page)


def memo_header(length, kind, pg_row=0):
    return struct.pack("<II", length | (kind << 24), pg_row) + b"\0\0\0\0"


def jet4_text(text, compressed):
    if compressed:
        return b"\xff\xfe" + text.encode("latin-1")
    return text.encode("utf-16-le")


class Column:
    def __init__(self, type_, number, fixed_offset=0, length=0, var_index=0, fixed=True):
        self.type, self.number, self.fixed_offset = type_, number, fixed_offset
        self.length, self.var_index, self.flags = length, var_index, FIXED if fixed else 0

    def descriptor(self):
        return bytes([self.type, self.flags, self.number, self.var_index]) + struct.pack(
            "<HH", self.fixed_offset, self.length)


def jet4_row(column_count, fixed, variable, present):
    """u16 column count, fixed area, variable data, offsets from the end, u16 count, null mask."""
    body = struct.pack("<H", column_count) + fixed
    offsets = []
    for value in variable:
        offsets.append(len(body))
        body += value
    offsets.append(len(body))
    tail = b"".join(struct.pack("<H", o) for o in reversed(offsets))
    tail += struct.pack("<H", len(variable))
    mask = bytearray((column_count + 7) // 8)
    for number in present:
        mask[number // 8] |= 1 << (number % 8)
    return body + tail + bytes(mask)


def jet3_row(column_count, fixed, variable, present):
    """u8 column count, fixed area, variable data, one-byte offsets, u8 count, null mask (< 256 bytes)."""
    body = bytes([column_count]) + fixed
    offsets = []
    for value in variable:
        offsets.append(len(body))
        body += value
    offsets.append(len(body))
    tail = bytes(reversed(offsets)) + bytes([len(variable)])
    mask = bytearray((column_count + 7) // 8)
    for number in present:
        mask[number // 8] |= 1 << (number % 8)
    row = body + tail + bytes(mask)
    assert len(row) < 256
    return row


def row_input(flags, columns, row, pages=b""):
    return (bytes([flags, len(columns)]) + b"".join(c.descriptor() for c in columns) +
            struct.pack("<H", len(row)) + row + pages)


def row_seeds():
    # Every fixed type, then text and memo among the variable columns.
    fixed_columns = [
        Column(LONG, 0, 0, 4), Column(DOUBLE, 1, 4, 8), Column(DATETIME, 2, 12, 8),
        Column(CURRENCY, 3, 20, 8), Column(BOOLEAN, 4, 0, 0), Column(BYTE, 5, 28, 1),
        Column(INTEGER, 6, 29, 2), Column(SINGLE, 7, 31, 4), Column(GUID, 8, 35, 16),
        Column(NUMERIC, 9, 51, 17), Column(BIGINT, 10, 68, 8),
    ]
    fixed = (struct.pack("<i", -42) + struct.pack("<d", 1234.5) + struct.pack("<d", 37748.604166) +
             struct.pack("<q", 125000) + bytes([7]) + struct.pack("<h", -3) + struct.pack("<f", 0.25) +
             bytes(range(16)) + b"\x80" + struct.pack(">IIII", 0, 0, 0, 15) + struct.pack("<q", -9))
    variable_columns = [
        Column(TEXT, 11, var_index=0, length=100, fixed=False),
        Column(TEXT, 12, var_index=1, length=100, fixed=False),
        Column(MEMO, 13, var_index=2, fixed=False),
        Column(BINARY, 14, var_index=3, length=16, fixed=False),
    ]
    memo = "due\r\nrighe"
    variable = [jet4_text("Rossi S.r.l. è", True), jet4_text("Città", False),
                memo_header(len(memo), 0x80) + memo.encode("latin-1"), b"\x01\x02\x03"]
    columns = fixed_columns + variable_columns
    present = [c.number for c in columns if c.number != 4] + [4]
    write("fuzz_row_decoder", "jet4-every-type", row_input(0x02, columns, jet4_row(15, fixed, variable, present)))
    write("fuzz_row_decoder", "jet4-nulls", row_input(0x02, columns, jet4_row(15, fixed, variable, [0, 11])))
    write("fuzz_row_decoder", "jet4-fixed-only", row_input(0x00, fixed_columns, jet4_row(11, fixed, [], present)))
    # A row written before the last columns were added: fewer columns than the table.
    write("fuzz_row_decoder", "jet4-short-row", row_input(0x02, columns, jet4_row(3, fixed[:20], [], [0, 1, 2])))

    # Memos stored on an LVAL page: one whole row, and a chain of two rows.
    page_size = 4096
    text = jet4_text("nota lunga " * 30, True)
    single = lval_page(page_size, [text])
    chain = lval_page(page_size, [struct.pack("<I", (3 << 8) | 1) + text[:150], b"\0\0\0\0" + text[150:]])
    memo_columns = [Column(LONG, 0, 0, 4), Column(MEMO, 1, var_index=0, fixed=False)]
    for name, kind, page in (("single", 0x40, single), ("chain", 0x00, chain)):
        row = jet4_row(2, struct.pack("<i", 1), [memo_header(len(text), kind, 3 << 8)], [0, 1])
        write("fuzz_row_decoder", f"jet4-memo-{name}", row_input(0x02, memo_columns, row, page))
        write("fuzz_long_value", f"jet4-{name}", bytes([0, 12]) + memo_header(len(text), kind, 3 << 8) + page)
    inline = memo_header(5, 0x80) + b"nota!"
    write("fuzz_long_value", "jet4-inline", bytes([0, len(inline)]) + inline)

    # Jet3: one-byte offsets and text in the archive's code page (1252, and 1251 through iconv).
    jet3_columns = [Column(LONG, 0, 0, 4), Column(TEXT, 1, var_index=0, length=50, fixed=False),
                    Column(MEMO, 2, var_index=1, fixed=False)]
    jet3_fixed = struct.pack("<i", 7)
    jet3_variable = [b"Citt\xe0", memo_header(4, 0x80) + b"memo"]
    row = jet3_row(3, jet3_fixed, jet3_variable, [0, 1, 2])
    write("fuzz_row_decoder", "jet3-cp1252", row_input(0x03, jet3_columns, row))
    write("fuzz_row_decoder", "jet3-cp1251", row_input(0x07, jet3_columns, jet3_row(3, jet3_fixed, [b"\xcc\xee\xf1\xea\xe2\xe0", b""], [0, 1])))
    jet3_page = lval_page(2048, [b"memo di una pagina Jet3"], jet3=True)
    row = jet3_row(3, jet3_fixed, [b"x", memo_header(23, 0x40, 3 << 8)], [0, 1, 2])
    write("fuzz_row_decoder", "jet3-memo-single", row_input(0x03, jet3_columns, row, jet3_page))
    write("fuzz_long_value", "jet3-single", bytes([1, 12]) + memo_header(23, 0x40, 3 << 8) + jet3_page)


def jet_file_seeds(archive_gen):
    memo_chain = "Lorem ipsum dolor sit amet, consectetur " * 250
    every = {"tables": [{"name": "Tipi", "columns": [
        {"name": "Id", "type": "long", "autonumber": True}, {"name": "Nome", "type": "text", "size": 20},
        {"name": "Prezzo", "type": "currency"}, {"name": "Quando", "type": "datetime"},
        {"name": "Note", "type": "memo"}, {"name": "Dati", "type": "ole"}, {"name": "Flag", "type": "boolean"},
        {"name": "R", "type": "double"}, {"name": "S", "type": "single"}, {"name": "B", "type": "byte"},
        {"name": "I", "type": "integer"}, {"name": "G", "type": "guid"}],
        "primaryKey": ["Id"],
        "rows": [
            [None, "Rossi", 12.5, "2003-05-07 14:30:00", "two\r\nlines", "00ff", True, -0.5, 1.5, 7, -3,
             "{01234567-89AB-CDEF-0123-456789ABCDEF}"],
            [None, "àèì €", None, None, "x" * 120, None, False, None, None, None, None, None],
            [None, None, "-0.0001", "1899-12-29 06:00:00", memo_chain, "ab" * 3000, True, 1e300, None, 255,
             32767, None]]}]}
    many = {"tables": [
        {"name": "Righe", "columns": [{"name": "Id", "type": "long"}, {"name": "Codice", "type": "text", "size": 10},
                                      {"name": "Qta", "type": "double"}],
         "primaryKey": ["Id"], "rows": [[i, "C%05d" % i, i * 0.25] for i in range(1, 301)]},
        {"name": "Vuota", "columns": [{"name": "A", "type": "long"}], "rows": []}]}
    folder = SEEDS / "fuzz_jet_file"
    folder.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        for name, description in (("every-type", every), ("many-rows", many)):
            path = pathlib.Path(work) / f"{name}.json"
            path.write_text(json.dumps(description), encoding="utf-8")
            for suffix, options in (("", []), ("-aged", ["--layout", "aged"]), ("-jet3", ["--format", "jet3"]),
                                    ("-jet3-aged", ["--format", "jet3", "--layout", "aged"])):
                subprocess.run([archive_gen, "from-json", *options, str(path), str(folder / f"{name}{suffix}.mdb")],
                               check=True)


if __name__ == "__main__":
    sql_seeds()
    row_seeds()
    if len(sys.argv) > 1:
        jet_file_seeds(sys.argv[1])
