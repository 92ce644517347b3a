#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs them for the given number of seconds in total, shared
# evenly (at least one second each).
#
#   fuzz/run-fuzzers.sh [--keep] <seconds>
#
# Each target starts from its folder's seeds/ and the kept corpus
# fuzz/corpus/<target> (when present) and writes what it finds to
# <build dir>/corpus/<target>. With --keep, each run is then merged into
# fuzz/corpus/<target>, minimised (libFuzzer's -merge=1 keeps only inputs
# that add coverage), and the target's executions, corpus size and
# coverage are printed. A crash, a sanitizer report, a leak
# or a timeout makes the target exit non-zero; the script then reports the
# artifact and exits non-zero after running the rest.
#
# QURVIA_FUZZ_BUILD_DIR=<dir> builds in that directory instead of the
# "fuzz" preset's build-fuzz, with the same settings.
set -euo pipefail
cd "$(dirname "$0")/.."

keep=0
if [ "${1:-}" = --keep ]; then
  keep=1
  shift
fi
seconds=${1:?usage: fuzz/run-fuzzers.sh [--keep] <seconds>}
case "$seconds" in
  '' | *[!0-9]*) echo "seconds must be a whole number: $seconds" >&2; exit 2 ;;
esac

if [ -n "${QURVIA_FUZZ_BUILD_DIR:-}" ]; then
  build=$QURVIA_FUZZ_BUILD_DIR
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DQURVIA_WITH_QT=OFF -DQURVIA_TESTS=OFF -DQURVIA_BENCH=OFF -DQURVIA_FUZZ=ON >/dev/null
  cmake --build "$build"
else
  build=build-fuzz
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
fi

mapfile -t targets < <(find "$build/fuzz" -mindepth 2 -maxdepth 2 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "no fuzz targets built under $build/fuzz" >&2
  exit 1
fi

each=$(( seconds / ${#targets[@]} ))
[ "$each" -ge 1 ] || each=1

failed=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  sub=$(basename "$(dirname "$target")")
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name/"
  mkdir -p "$corpus" "$artifacts"
  kept="fuzz/corpus/$name"
  seeds=()
  [ -d "fuzz/$sub/seeds" ] && seeds+=("fuzz/$sub/seeds")
  [ -d "$kept" ] && seeds+=("$kept")
  echo "== $name: ${each}s"
  if "$target" -max_total_time="$each" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$build/$name.log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$build/$name.log" || true
    if [ "$keep" = 1 ]; then
      # Into a fresh folder, so inputs that later ones made redundant go.
      merged="$build/merged/$name"
      rm -rf "$merged"
      mkdir -p "$merged" "$kept"
      "$target" -merge=1 "$merged" "$kept" "$corpus" >"$build/$name.merge.log" 2>&1
      rm -rf "$kept"
      mv "$merged" "$kept"
      echo "   kept: $(find "$kept" -type f | wc -l) inputs, $(du -s --apparent-size --block-size=1 "$kept" | cut -f1) bytes;" \
        "$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$build/$name.log" | tail -n 1)"
    fi
  else
    failed=1
    echo "!! $name found a problem; log: $build/$name.log, artifacts: $artifacts" >&2
    tail -n 40 "$build/$name.log" >&2
  fi
done
exit "$failed"
