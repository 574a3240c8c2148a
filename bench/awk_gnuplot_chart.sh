#!/usr/bin/env bash
# The same chart drawn the way a user without the program would: awk works out the conversion
# and base lines, the two leading spans and the lagging line of a text data file, and gnuplot
# draws the candles, the lines and the cloud into a PNG. scripts/bench times the program
# against it.
#
#     bench/awk_gnuplot_chart.sh DATAFILE OUT.png [WIDTHxHEIGHT]
set -euo pipefail
data=$1 out=$2 size=${3:-1600x900}
table=$(mktemp)
trap 'rm -f "$table"' EXIT
awk 'NR > 2 && NF >= 5 {
    n++; o[n] = $2; h[n] = $3; l[n] = $4; c[n] = $5
}
function mid(i, span,   j, hi, lo) {
    if (i < span) return "NaN"
    hi = h[i]; lo = l[i]
    for (j = i - span + 1; j < i; j++) { if (h[j] > hi) hi = h[j]; if (l[j] < lo) lo = l[j] }
    return (hi + lo) / 2
}
END {
    for (i = 1; i <= n + 25; i++) {
        conv = i <= n ? mid(i, 9) : "NaN"; base = i <= n ? mid(i, 26) : "NaN"
        k = i - 25; a = "NaN"; b = "NaN"
        if (k >= 26) { a = (mid(k, 9) + mid(k, 26)) / 2 }
        if (k >= 52) { b = mid(k, 52) }
        lag = i + 25 <= n ? c[i + 25] : "NaN"
        if (i <= n) print i, o[i], h[i], l[i], c[i], conv, base, a, b, lag
        else print i, "NaN", "NaN", "NaN", "NaN", "NaN", "NaN", a, b, "NaN"
    }
}' "$data" >"$table"
gnuplot <<GP
set terminal pngcairo size ${size/x/,}
set output '$out'
set key top left
set grid ytics
plot '$table' using 1:8:9 with filledcurves lc rgb '#c8f0c8' title '雲', \
     '' using 1:2:4:3:5 with candlesticks lc rgb 'black' title 'ローソク足', \
     '' using 1:6 with lines lc rgb 'red' title '転換線', \
     '' using 1:7 with lines lc rgb 'blue' title '基準線', \
     '' using 1:8 with lines lc rgb 'orange' title '先行スパン1', \
     '' using 1:9 with lines lc rgb 'purple' title '先行スパン2', \
     '' using 1:10 with lines lc rgb 'green' title '遅行スパン'
GP
