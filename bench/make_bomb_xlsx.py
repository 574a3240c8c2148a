#!/usr/bin/python3
"""Writes a compression bomb: a workbook whose sheet part inflates to SIZE bytes
(default 1 GiB) at about 1000:1, for scripts/bench to time its refusal.

    /usr/bin/python3 bench/make_bomb_xlsx.py OUT.xlsx [text|elements] [SIZE] [CLAIM]

"text" puts the bytes in one run of spaces inside <sheetData>, a single XML
token; "elements" as empty elements before it, millions of tokens.  With
CLAIM, both zip headers say the sheet inflates to CLAIM bytes (its CRC stays
that of SIZE bytes).  The file is written at benchmark time and never kept:
it is about 1 MB a GiB.
"""

import struct
import sys
import zipfile

SHEET = "xl/worksheets/sheet1.xml"

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PACKAGE_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
CHUNK = 1 << 20


def main():
    out = sys.argv[1]
    kind = sys.argv[2] if len(sys.argv) > 2 else "text"
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 1 << 30
    unit = {"text": b" ", "elements": b"<x/>"}[kind]
    parts = {
        "_rels/.rels": f'<Relationships xmlns="{PACKAGE_REL}"><Relationship Id="rId1" '
                       f'Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets><sheet '
                           'name="sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": f'<Relationships xmlns="{PACKAGE_REL}"><Relationship '
                                      f'Id="rId1" Type="{REL}/worksheet" '
                                      'Target="worksheets/sheet1.xml"/></Relationships>',
    }
    head = f'<worksheet xmlns="{MAIN}">'.encode() + (b"<sheetData>" if kind == "text" else b"")
    tail = (b"" if kind == "text" else b"<sheetData>") + \
        b'<row r="1"><c r="A1"><v>1</v></c></row></sheetData></worksheet>'
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, text in parts.items():
            z.writestr(name, text)
        with z.open(SHEET, "w", force_zip64=size > (1 << 31)) as sheet:
            sheet.write(head)
            block = unit * (CHUNK // len(unit))
            left = size - len(head) - len(tail)
            while left > 0:
                piece = block[:min(left, len(block)) // len(unit) * len(unit)] or unit
                sheet.write(piece)
                left -= len(piece)
            sheet.write(tail)
    if len(sys.argv) > 4:
        claim(out, int(sys.argv[4]))


def claim(path, size):
    """Rewrites the inflated size of the sheet in its local header and in the
    central directory."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    with zipfile.ZipFile(path) as z:
        info = z.getinfo(SHEET)
    assert data[info.header_offset:info.header_offset + 4] == b"PK\x03\x04"
    struct.pack_into("<I", data, info.header_offset + 22, size)
    eocd = data.rindex(b"PK\x05\x06")
    at = struct.unpack_from("<I", data, eocd + 16)[0]
    while data[at:at + 4] == b"PK\x01\x02":
        name_len, extra_len, comment_len = struct.unpack_from("<HHH", data, at + 28)
        if data[at + 46:at + 46 + name_len].decode() == SHEET:
            struct.pack_into("<I", data, at + 24, size)
        at += 46 + name_len + extra_len + comment_len
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
