#!/usr/bin/python3
"""Writes samples/sample.txt, a made-up daily price file of about 3000 days.

    /usr/bin/python3 samples/make_sample.py

Layout: two heading lines in Shift-JIS (cp932), then one line per trading
day, oldest first: "YYYYMMDD open high low close", single blanks between
fields, CR LF after every line.  Prices carry at most two decimals and no
trailing zeros, so the file has whole, one- and two-decimal prices.

The first heading names a security whose name holds ソ, whose second
Shift-JIS byte is 0x5C ('\\'): a reader that splits or escapes on bytes
before decoding garbles it.

The seed is fixed, so re-running writes the same bytes.
"""

import datetime
import math
import random
from pathlib import Path

OUT = Path(__file__).resolve().parent / "sample.txt"

HEADINGS = ["1234 見本ソフト工業　日足", "単位：円"]
START = datetime.date(2014, 11, 4)
DAYS = 3000
SEED = 20141104
TICK_CENTS = 5          # prices move in steps of 0.05 yen


def fixed_holidays(year):
    """Approximate market holidays: enough that the calendar looks right."""
    days = [(1, 1), (1, 2), (1, 3), (2, 11), (4, 29), (5, 3), (5, 4), (5, 5),
            (11, 3), (11, 23), (12, 31)]
    if year >= 2016:
        days.append((8, 11))
    if year >= 2020:
        days.append((2, 23))
    if year <= 2018:
        days.append((12, 23))
    holidays = {datetime.date(year, m, d) for m, d in days}
    # A holiday on a Sunday moves to the next day that is not one already.
    for day in sorted(holidays):
        if day.weekday() == 6:
            sub = day + datetime.timedelta(days=1)
            while sub in holidays:
                sub += datetime.timedelta(days=1)
            holidays.add(sub)
    return holidays


def trading_days(start, count):
    day = start
    holidays = {}
    out = []
    while len(out) < count:
        if day.year not in holidays:
            holidays[day.year] = fixed_holidays(day.year)
        if day.weekday() < 5 and day not in holidays[day.year]:
            out.append(day)
        day += datetime.timedelta(days=1)
    return out


def price_text(ticks):
    """Whole ticks -> '2834.35', '2834.4' or '2834' (no trailing zeros)."""
    cents = ticks * TICK_CENTS
    yen, frac = divmod(cents, 100)
    if frac == 0:
        return str(yen)
    return f"{yen}.{frac:02d}".rstrip("0")


def bars(rng, count):
    """(open, high, low, close) in ticks from a log random walk.

    Daily sd about 1.3%, split between the overnight move and the session;
    now and then the open gaps hard.  A weak pull towards 2800 yen keeps
    twelve years of walk in the few-thousand-yen range.
    """
    def ticks(value, mode=round):
        return int(mode(value * 100 / TICK_CENTS))

    prev = 2800.0
    out = []
    for _ in range(count):
        overnight = rng.gauss(0, 0.004)
        if rng.random() < 0.03:
            overnight += rng.choice((-1, 1)) * rng.uniform(0.02, 0.05)
        session = rng.gauss(-0.001 * math.log(prev / 2800), 0.012)
        opening = prev * math.exp(overnight)
        closing = opening * math.exp(session)
        high = max(opening, closing) * math.exp(abs(rng.gauss(0, 0.005)))
        low = min(opening, closing) * math.exp(-abs(rng.gauss(0, 0.005)))
        o, c = ticks(opening), ticks(closing)
        h = max(ticks(high, math.ceil), o, c)
        lo = max(1, min(ticks(low, math.floor), o, c))
        out.append((o, h, lo, c))
        prev = c * TICK_CENTS / 100
    return out


def main():
    rng = random.Random(SEED)
    days = trading_days(START, DAYS)
    lines = [h.encode("cp932") for h in HEADINGS]
    for day, bar in zip(days, bars(rng, DAYS)):
        fields = [day.strftime("%Y%m%d")] + [price_text(t) for t in bar]
        lines.append(" ".join(fields).encode("ascii"))
    OUT.write_bytes(b"".join(line + b"\r\n" for line in lines))

    text = OUT.read_bytes().decode("cp932")
    for line in text.split("\r\n")[:5]:
        print(line)
    print(f"{text.count(chr(10))} lines, {days[0]} .. {days[-1]}, "
          f"{OUT.stat().st_size:,d} bytes")


if __name__ == "__main__":
    main()
