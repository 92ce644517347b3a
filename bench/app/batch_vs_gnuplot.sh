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
# X max 2000 as for gnuplot. Qurvia's x is a running sum that ends a hair
# above 2000 after 10 000 steps, so it computes 10 000 points, gnuplot
# 10 001 (a larger X max would exceed the 10 000-step limit).
xmax=2000

source "$(dirname "$0")/median_ms.sh"

q_table=("$qurvia" --formula "$formula" --xmin 817 --xmax $xmax --step $step --table -)
g_table=(gnuplot -e "set samples 10001; set table '/dev/stdout'; plot [817:2000] $formula")
q_png=("$qurvia" --formula "$formula" --xmin 817 --xmax $xmax --step $step --size 353x305 --image "$tmp/q.png")
g_png=(gnuplot -e "set terminal pngcairo size 353,305; set output '$tmp/g.png'; set samples 10001; plot [817:2000] $formula")

# Same work: the same number of points.
echo "points: qurvia $("${q_table[@]}" | wc -l), gnuplot $("${g_table[@]}" | grep -c '^ *[0-9]')"
"${q_png[@]}"
"${g_png[@]}"

echo "median of $runs runs, whole process (ms, wall and processor); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in table png; do
  q_cmd="q_$kind[@]"
  g_cmd="g_$kind[@]"
  read -r qw qc <<<"$(median_ms "$runs" "${!q_cmd}")"
  read -r gw gc <<<"$(median_ms "$runs" "${!g_cmd}")"
  ratio() { awk -v q="$1" -v g="$2" 'BEGIN { printf "%.2f", q / g }'; }
  printf "  %-6s wall: qurvia %7s  gnuplot %7s  ratio %s   processor: qurvia %6s  gnuplot %6s  ratio %s\n" \
    "$kind" "$qw" "$gw" "$(ratio "$qw" "$gw")" "$qc" "$gc" "$(ratio "$qc" "$gc")"
done
