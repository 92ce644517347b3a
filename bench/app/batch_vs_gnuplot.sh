#!/usr/bin/env bash
# Whole-process time of a command-line plot, Qurvia against gnuplot, for the
# same table (10 001 samples of the start-up formula over 817...2000) and for
# a PNG of it. Prints the median of repeated runs and the ratio; asserts
# nothing.
#
#   bench/app/batch_vs_gnuplot.sh [path/to/qurvia] [runs]
set -euo pipefail
qurvia=${1:-build/app/qurvia}
runs=${2:-21}
command -v gnuplot >/dev/null || { echo "gnuplot is not installed (Debian: gnuplot-nox)"; exit 0; }
[ -x "$qurvia" ] || { echo "no qurvia program at $qurvia"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

formula='5.22 - 5.44E-4 * (x - 817)'
step=0.1183 # (2000 - 817) / 10000
# The running sum of x ends a hair above 2000 after 10 000 steps; a slightly
# larger X max gives both programs the same 10 001 points.
xmax=2000.001

# Median wall time in milliseconds of running "$@" $runs times.
median_ms() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
  done | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

q_table() { "$qurvia" --formula "$formula" --xmin 817 --xmax $xmax --step $step --table -; }
g_table() { gnuplot -e "set samples 10001; set table '/dev/stdout'; plot [817:2000] $formula"; }
q_png() { "$qurvia" --formula "$formula" --xmin 817 --xmax $xmax --step $step --size 353x305 --image "$tmp/q.png"; }
g_png() {
  gnuplot -e "set terminal pngcairo size 353,305; set output '$tmp/g.png'; set samples 10001; plot [817:2000] $formula"
}

# Same work: the same number of points.
echo "points: qurvia $(q_table | wc -l), gnuplot $(g_table | grep -c '^ *[0-9]')"
q_png
g_png

echo "median of $runs runs, whole process (ms); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in table png; do
  q=$(median_ms q_$kind)
  g=$(median_ms g_$kind)
  ratio=$(awk -v q="$q" -v g="$g" 'BEGIN { printf "%.2f", q / g }')
  printf "  %-6s qurvia %8s   gnuplot %8s   qurvia/gnuplot %s\n" "$kind" "$q" "$g" "$ratio"
done
