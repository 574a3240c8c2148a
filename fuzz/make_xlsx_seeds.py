#!/usr/bin/python3
"""Writes the .xlsx seeds of the workbook fuzzer into corpus/workbook/: the
download fixtures as they are, and small workbooks whose parts are stored,
not deflated, so that the fuzzer's changes reach the XML (the zip reader
checks no CRC).

    /usr/bin/python3 fuzz/make_xlsx_seeds.py
"""

import io
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
CORPUS = HERE / "corpus" / "workbook"
DOWNLOADS = HERE.parent / "tests" / "fixtures" / "downloads"
ZIP_TIME = (2023, 5, 1, 9, 0, 0)

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PACKAGE_REL = "http://schemas.openxmlformats.org/package/2006/relationships"


def zipped(members, method):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        for name, data in members:
            info = zipfile.ZipInfo(name, date_time=ZIP_TIME)
            info.compress_type = method
            z.writestr(info, data)
    return out.getvalue()


def members_of(data):
    with zipfile.ZipFile(io.BytesIO(data)) as z:
        return [(i.filename, z.read(i)) for i in z.infolist()
                if not i.filename.startswith(("docProps/", "xl/theme/"))]


def cell_kinds():
    """One workbook with every kind of cell, a 1904 date system, rich and
    phonetic shared strings, custom date and number formats."""
    sheet = (
        f'<worksheet xmlns="{MAIN}"><sheetData>'
        '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
        '<c r="C1" t="inlineStr"><is><r><t>ab</t></r><r><t>cd</t></r></is></c></row>'
        '<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2" s="1"><v>38048</v></c>'
        '<c r="C2" s="2"><v>1514.5</v></c><c r="D2" t="d"><v>2008-03-03T12:00:00</v></c>'
        '<c r="E2" t="str"><f>A1</f><v>1,500.25</v></c><c r="F2"><f>1/0</f></c></row>'
        '<row><c t="b"><v>1</v></c><c t="e"><v>#N/A</v></c><c s="3"><v>2</v></c></row>'
        '</sheetData></worksheet>')
    strings = (
        f'<sst xmlns="{MAIN}"><si><t>銘柄</t></si><si><t xml:space="preserve"> 日付 </t>'
        '</si><si><r><t>トヨタ</t></r><r><rPr><b/></rPr><t>自動車</t></r>'
        '<rPh sb="0" eb="3"><t>トヨタ</t></rPh></si></sst>')
    styles = (
        f'<styleSheet xmlns="{MAIN}"><numFmts><numFmt numFmtId="164" '
        'formatCode="yyyy/mm/dd"/><numFmt numFmtId="165" formatCode="0.00"/></numFmts>'
        '<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="165"/>'
        '<xf numFmtId="14"/></cellXfs></styleSheet>')
    return [
        ("_rels/.rels", f'<Relationships xmlns="{PACKAGE_REL}"><Relationship Id="rId1" '
                        f'Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>'),
        ("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><workbookPr '
                            'date1904="1"/><sheets><sheet name="sheet1" sheetId="1" '
                            'r:id="rId1"/></sheets></workbook>'),
        ("xl/_rels/workbook.xml.rels",
         f'<Relationships xmlns="{PACKAGE_REL}">'
         f'<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>'
         f'<Relationship Id="rId2" Type="{REL}/styles" Target="styles.xml"/>'
         f'<Relationship Id="rId3" Type="{REL}/sharedStrings" Target="/xl/sharedStrings.xml"/>'
         '</Relationships>'),
        ("xl/worksheets/sheet1.xml", sheet),
        ("xl/styles.xml", styles),
        ("xl/sharedStrings.xml", strings),
    ]


def main():
    for name in ("header.xlsx", "classic.xlsx"):
        data = (DOWNLOADS / name).read_bytes()
        (CORPUS / name).write_bytes(data)
        stored = zipped(members_of(data), zipfile.ZIP_STORED)
        (CORPUS / name.replace(".xlsx", "_stored.xlsx")).write_bytes(stored)
    members = [(n, d.encode("utf-8")) for n, d in cell_kinds()]
    (CORPUS / "cell_kinds_stored.xlsx").write_bytes(zipped(members, zipfile.ZIP_STORED))
    (CORPUS / "cell_kinds.xlsx").write_bytes(zipped(members, zipfile.ZIP_DEFLATED))


if __name__ == "__main__":
    main()
