#!/usr/bin/python3
"""Writes days15000.xlsx beside this script: the classic layout of 15000 days
for timing the .xlsx reader, as an .xlsx workbook holds them.

    /usr/bin/python3 bench/data/make_days15000_xlsx.py

Sheet "sheet1": row 1 銘柄/日付/始値/高値/安値/終値, then A2 サンプル電機, B
date cells (yyyy/mm/dd) of the weekdays from 1970-01-05, C..F open, high, low
and close in steps of 0.1 from a walk seeded with a fixed text.  Written by
openpyxl (python3-openpyxl) and zipped again with fixed time stamps, so
re-running writes the same bytes.
"""

import datetime
import io
import random
import zipfile
from pathlib import Path

import openpyxl

HERE = Path(__file__).resolve().parent
DAYS = 15000
ZIP_TIME = (2023, 5, 1, 9, 0, 0)
BOOK_TIME = datetime.datetime(2023, 5, 1, 9, 0, 0)


def weekdays(count):
    day = datetime.date(1970, 1, 5)
    while count:
        if day.weekday() < 5:
            yield day
            count -= 1
        day += datetime.timedelta(days=1)


def main():
    rng = random.Random("days15000.xlsx")
    book = openpyxl.Workbook()
    book.properties.creator = "Nimbrel benchmarks"
    book.properties.created = book.properties.modified = BOOK_TIME
    sheet = book.active
    sheet.title = "sheet1"
    sheet.append(["銘柄", "日付", "始値", "高値", "安値", "終値"])
    close = 15000  # tenths of a yen
    for n, day in enumerate(weekdays(DAYS)):
        open_ = max(100, close + rng.randint(-150, 150))
        close = max(100, open_ + rng.randint(-300, 300))
        high = max(open_, close) + rng.randint(0, 120)
        low = max(50, min(open_, close) - rng.randint(0, 120))
        sheet.append(["サンプル電機" if n == 0 else None, day] +
                     [p // 10 if p % 10 == 0 else p / 10 for p in (open_, high, low, close)])
        sheet.cell(row=n + 2, column=2).number_format = "yyyy/mm/dd"
    raw = io.BytesIO()
    book.save(raw)
    out = io.BytesIO()
    with zipfile.ZipFile(raw) as source, zipfile.ZipFile(out, "w") as target:
        for item in source.infolist():
            info = zipfile.ZipInfo(item.filename, date_time=ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            target.writestr(info, source.read(item), compresslevel=9)
    (HERE / "days15000.xlsx").write_bytes(out.getvalue())
    check = openpyxl.load_workbook(HERE / "days15000.xlsx")["sheet1"]
    assert check.max_row == DAYS + 1 and check["A2"].value == "サンプル電機"
    assert check["B2"].value == datetime.datetime(1970, 1, 5)


if __name__ == "__main__":
    main()
