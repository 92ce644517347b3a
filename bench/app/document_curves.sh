#!/usr/bin/env bash
# Whole-process time of plotting a document to PNG: 20 curves of 10 001
# points each against one such curve, for two sets of formulas (polynomials,
# cheap to evaluate, and sines, whose every value needs the full argument
# reduction of the math library). Prints the median of repeated runs and
# the ratio 20 curves / 1 curve; asserts nothing.
#
#   bench/app/document_curves.sh [path/to/qurvia] [runs]
set -euo pipefail
qurvia=${1:-build/app/qurvia}
runs=${2:-21}
[ -x "$qurvia" ] || { echo "no qurvia program at $qurvia"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The documents: curve k (0-based) of a set, each over 0...10000 in steps
# of 1 (10 001 points), every one a little different from the others.
python3 - "$tmp" <<'PY'
import json, sys
folder = sys.argv[1]
sets = {
    "poly": lambda k: f"x*x/{1000 + k} - {k}*x",
    "sine": lambda k: f"sin(x/{100 + 7 * k})*{1 + k / 10} + {k / 5}",
}
for name, formula in sets.items():
    for count in (1, 20):
        curves = [{"kind": "function", "formula": formula(k), "xmin": "0", "xmax": "10000", "step": "1"}
                  for k in range(count)]
        with open(f"{folder}/{name}{count}.qurvia", "w") as f:
            json.dump({"qurvia": 1, "curves": curves}, f)
PY

source "$(dirname "$0")/median_ms.sh"

# Settings of their own, so the stored colour is the same on every machine.
settings="$tmp/settings.ini"
echo "median of $runs runs, whole process (ms, wall and processor); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for set in poly sine; do
  for count in 1 20; do
    "$qurvia" --settings "$settings" --document "$tmp/$set$count.qurvia" --image "$tmp/$set$count.png"
  done
  read -r w1 c1 <<<"$(median_ms "$runs" "$qurvia" --settings "$settings" --document "$tmp/${set}1.qurvia" --image "$tmp/o.png")"
  read -r w20 c20 <<<"$(median_ms "$runs" "$qurvia" --settings "$settings" --document "$tmp/${set}20.qurvia" --image "$tmp/o.png")"
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
  printf "  %-5s wall: 1 curve %6s  20 curves %6s  ratio %s   processor: 1 curve %6s  20 curves %6s  ratio %s\n" \
    "$set" "$w1" "$w20" "$(ratio "$w20" "$w1")" "$c1" "$c20" "$(ratio "$c20" "$c1")"
done
