#!/bin/sh
# Runs the window's random tester over many seeds: each seed a run of its
# own process, a failure shrunk to its shortest event list and reported
# with its seed. Splits the seeds over JOBS processes.
#
#   scripts/monkey.sh [BUILD] [FIRST_SEED] [SEEDS] [EVENTS] [JOBS]
#   scripts/monkey.sh build 1000 100 2000 2     # 200 000 events
set -eu
build=${1:-build}
first=${2:-1000}
seeds=${3:-100}
events=${4:-2000}
jobs=${5:-1}
monkey="$build/tests/monkey/qurvia-monkey"
[ -x "$monkey" ] || { echo "monkey.sh: build the target qurvia-monkey first ($monkey)" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen
logs=$(mktemp -d)
per=$(( (seeds + jobs - 1) / jobs ))
job=0
while [ "$job" -lt "$jobs" ]; do
    start=$(( first + job * per ))
    count=$per
    [ $(( start + count )) -gt $(( first + seeds )) ] && count=$(( first + seeds - start ))
    [ "$count" -gt 0 ] && "$monkey" --seed "$start" --seeds "$count" --events "$events" >"$logs/$job.log" 2>"$logs/$job.err" &
    job=$(( job + 1 ))
done
status=0
wait || status=1
cat "$logs"/*.log | grep -v '^LAST '
# What the sanitizers said (a sanitizer build): the first lines of each report.
grep -h -A6 -e 'runtime error' -e 'ERROR: AddressSanitizer' -e 'ERROR: LeakSanitizer' "$logs"/*.err | head -200 || true
total=$(cat "$logs"/*.log | sed -n 's/^monkey: .* seeds, \([0-9]*\) events.*/\1/p' | awk '{ s += $1 } END { print s + 0 }')
failing=$(cat "$logs"/*.log | sed -n 's/^monkey: .* events, \([0-9]*\) failing/\1/p' | awk '{ s += $1 } END { print s + 0 }')
echo "monkey.sh: $seeds seeds, $total events, $failing failing"
rm -rf "$logs"
[ "$failing" -eq 0 ] && [ "$status" -eq 0 ]
